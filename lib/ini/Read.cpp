#include "ini/Ini.hpp"

#include <cstdint>
#include <cstring>

#include "ini/IniText.hpp"

namespace kzr
{

namespace
{

// The first of name, name0, name1, ... that `table` does not hold.
template <typename Table>
std::string FreeName(const Table &table, const std::string &name)
{
    for (unsigned long suffix = 0;; ++suffix)
    {
        std::string candidate = name + std::to_string(suffix);
        if (table.find(candidate) == table.end())
            return candidate;
    }
}

}  // namespace

bool Ini::Read(const std::string &text)
{
    // Positions are 32-bit offsets and the end of the text must be one of them.
    if (text.size() >= UINT32_MAX)
    {
        LastError = "ini: text too large.";
        return false;
    }
    const unsigned char *classes = initext::ByteClasses();
    const char *bytes = text.c_str();

    std::string scopeName;          // the current scope; the default scope first
    FieldMap *scope = nullptr;      // the current scope once it is in Data
    unsigned int i = 0;
    for (;;)
    {
        initext::Skip(classes, text, i, initext::SeparatorByte);
        if (bytes[i] == '\0')
            return true;
        unsigned int j = i;
        if (bytes[j] == '[')
        {
            i = ++j;
            initext::Skip(classes, text, j, initext::NameByte);
            if (j == i)
            {
                LastError = "ini: expected scope name after '['.";
                ErrorPosition = j;
                return false;
            }
            // The scope enters Data with its first field, so a header without
            // fields leaves no trace.
            scopeName.assign(bytes + i, j - i);
            if (Data.find(scopeName) != Data.end())
                scopeName = FreeName(Data, scopeName);
            scope = nullptr;
            if (bytes[j] != ']')
            {
                LastError = "ini: expected ']' after scope name.";
                ErrorPosition = j;
                return false;
            }
            ++j;
        }
        else
        {
            initext::Skip(classes, text, j, initext::NameByte);
            if (j == i)
            {
                LastError = "ini: expected field name.";
                ErrorPosition = j;
                return false;
            }
            if (!scope)
                scope = &Data[scopeName];
            std::string fieldName(bytes + i, j - i);
            // Files written by Save list the fields of a scope in order, so most new
            // names go after the last one.
            FieldMap::iterator place = scope->empty() || ByteOrder()(scope->rbegin()->first, fieldName)
                                           ? scope->end()
                                           : scope->lower_bound(fieldName);
            if (place != scope->end() && place->first == fieldName)
            {
                fieldName = FreeName(*scope, fieldName);
                place = scope->lower_bound(fieldName);
            }
            initext::SkipBlanks(classes, text, j);
            if (bytes[j] != '=')
            {
                LastError = "ini: expected '=' after field name.";
                ErrorPosition = j;
                return false;
            }
            ++j;
            initext::SkipBlanks(classes, text, j);
            ValueArray &values = scope->emplace_hint(place, std::move(fieldName), ValueArray())->second;
            if (!ReadArray(text, j, values))
                return false;
        }
        i = j;
    }
}

bool Ini::ReadArray(const std::string &text, unsigned int &position, ValueArray &values)
{
    if (text.size() >= UINT32_MAX)
    {
        LastError = "ini: text too large.";
        return false;
    }
    // A position past the end reads as the end, never beyond it.
    if (position > text.size())
        position = static_cast<unsigned int>(text.size());
    const unsigned char *classes = initext::ByteClasses();
    const char *bytes = text.c_str();
    for (;;)
    {
        initext::Skip(classes, text, position, initext::SeparatorByte);
        unsigned int j = position;
        std::string value;
        if (bytes[j] == '"')
        {
            if (ReadString(text, j, value) != 0)
            {
                LastError = "ini: error while reading a complex string.";
                ErrorPosition = position;
                return false;
            }
        }
        else
        {
            // Up to the next ',', newline or NUL (where strcspn stops), noting any
            // carriage return on the way.
            bool carriageReturn = false;
            for (;;)
            {
                j += static_cast<unsigned int>(std::strcspn(bytes + j, ",\n\r"));
                if (bytes[j] != '\r')
                    break;
                carriageReturn = true;
                ++j;
            }
            value.assign(bytes + position, j - position);
            if (carriageReturn)
                for (char &byte : value)
                    if (byte == '\r')
                        byte = '\0';
        }
        initext::Skip(classes, text, j, initext::SeparatorByte);
        values.push_back(std::move(value));
        position = j;
        if (bytes[position] != ',')
            return true;
        ++position;
    }
}

}  // namespace kzr
