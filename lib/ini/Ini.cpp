#include "ini/Ini.hpp"

#include <cstring>

namespace kzr
{

bool ByteOrder::operator()(const std::string &left, const std::string &right) const
{
    size_t common = left.size() < right.size() ? left.size() : right.size();
    int order = common ? std::memcmp(left.data(), right.data(), common) : 0;  // memcmp: unsigned bytes
    return order < 0 || (order == 0 && left.size() < right.size());
}

Ini::Ini() : Error(LastError)
{
    Data.emplace(std::string(), FieldMap());
}

Ini::~Ini()
{
}

}  // namespace kzr
