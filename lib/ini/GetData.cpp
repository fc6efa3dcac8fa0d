#include "ini/Ini.hpp"

namespace kzr
{

Ini::ScopeMap &Ini::GetData()
{
    return Data;
}

const Ini::ScopeMap &Ini::GetData() const
{
    return Data;
}

}  // namespace kzr
