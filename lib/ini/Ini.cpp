#include "ini/Ini.hpp"

namespace kzr
{

Ini::Ini() : Error(LastError)
{
    Data.emplace(std::string(), FieldMap());
}

Ini::~Ini()
{
}

}  // namespace kzr
