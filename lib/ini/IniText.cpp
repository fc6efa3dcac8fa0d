#include "ini/IniText.hpp"

#include "parsing/ParsingTools.hpp"

namespace kzr
{
namespace initext
{

namespace
{

struct ClassTable
{
    unsigned char classes[256] = {};

    ClassTable()
    {
        for (char byte : ParsingTools::FieldName)
            classes[static_cast<unsigned char>(byte)] |= NameByte;
        for (char byte : std::string(" \t\n\r;"))
            classes[static_cast<unsigned char>(byte)] |= SeparatorByte;
        classes[static_cast<unsigned char>(' ')] |= BlankByte;
        classes[static_cast<unsigned char>('\t')] |= BlankByte;
    }
};

}  // namespace

const unsigned char *ByteClasses()
{
    static const ClassTable table;
    return table.classes;
}

bool IsReadableName(const std::string &name)
{
    const unsigned char *classes = ByteClasses();
    if (name.empty())
        return false;
    for (char byte : name)
        if (!Is(classes, byte, NameByte))
            return false;
    return true;
}

}  // namespace initext
}  // namespace kzr
