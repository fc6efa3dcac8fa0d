#include <cstdlib>
#include <cstring>
#include <locale>
#include <new>

#include "window_private.hpp"

namespace vollo_internal
{

void fill_joystick_slot(unsigned int slot)
{
    if (slot >= VOLLO_JOYSTICK_COUNT)
        return;
    vollo_joystick &record = gl_joystick[slot];
    const sf::Joystick::Identification identification = sf::Joystick::getIdentification(slot);

    // A slot connected again without a disconnection in between still holds the
    // previous name: release it rather than lose it.
    std::free(record.name);
    record.name = nullptr;
    record.connected = 1;
    try
    {
        record.name = strdup(identification.name.toAnsiString(std::locale()).c_str());
    }
    catch (const std::bad_alloc &)
    {
        record.name = nullptr;  // out of memory: the slot keeps no name
    }
    record.vendor_id = identification.vendorId;
    record.product_id = identification.productId;
    record.nb_buttons = sf::Joystick::getButtonCount(slot);
    record.axes = 0;
    for (unsigned int axis = 0; axis < VOLLO_JOYSTICK_AXIS_COUNT; ++axis)
        if (sf::Joystick::hasAxis(slot, static_cast<sf::Joystick::Axis>(axis)))
            record.axes |= static_cast<uint8_t>(1u << axis);
}

}  // namespace vollo_internal
