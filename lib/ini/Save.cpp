#include "ini/Ini.hpp"

#include <ostream>

#include "vollo.h"
#include "ini/IniText.hpp"

namespace kzr
{

namespace
{

// A value of printable ASCII bytes other than the quote, the backslash and '#' is
// its own literal body (BuildString would copy it unchanged), so the writer
// appends it directly and skips building a copy.
bool IsOwnLiteral(const std::string &value)
{
    for (char byte : value)
    {
        unsigned char code = static_cast<unsigned char>(byte);
        if (code < 32 || code > 126 || code == '"' || code == '\\' || code == '#')
            return false;
    }
    return true;
}

// Appends the document's text to `out` in canonical form, calling endLine(out)
// after each newline; the stream form writes and flushes there, the file form
// lets the whole text build up.
template <typename EndLine>
void WriteText(const Ini &ini, const Ini::ScopeMap &data, char newline, std::string &out, EndLine endLine)
{
    for (const Ini::ScopeMap::value_type &scope : data)
    {
        if (!scope.first.empty())
        {
            out.append(1, '[').append(scope.first).append(1, ']').append(1, newline);
            endLine(out);
        }
        for (const Ini::FieldMap::value_type &field : scope.second)
        {
            out.append(field.first).append(1, '=');
            if (field.second.empty())
                out.append("\"\"");  // "=" alone would take the next line as its value
            for (size_t index = 0; index < field.second.size(); ++index)
            {
                if (index > 0)
                    out.append(1, ',');
                if (index > 0 && index % 10 == 0)
                {
                    // Ten values a line: the line ends after the tenth comma.
                    out.append(1, newline);
                    endLine(out);
                }
                const std::string &value = field.second[index];
                out.append(1, '"');
                if (IsOwnLiteral(value))
                    out.append(value);
                else
                    out.append(ini.BuildString(value));
                out.append(1, '"');
            }
            out.append(1, newline);
            endLine(out);
        }
    }
}

}  // namespace

void Ini::Save(std::ostream &stream) const
{
    std::string line;
    WriteText(*this, Data, stream.widen('\n'), line, [&stream](std::string &text) {
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        stream.flush();
        text.clear();
    });
}

bool Ini::Save(const std::string &path) const
{
    for (const ScopeMap::value_type &scope : Data)
    {
        bool readable = scope.first.empty() || initext::IsReadableName(scope.first);
        for (const FieldMap::value_type &field : scope.second)
            readable = readable && initext::IsReadableName(field.first);
        if (!readable)
        {
            LastError = "ini: a scope or field name could not be read back.";
            return false;
        }
    }
    // The same text as Save(stream) writes, built whole and written at once.
    std::string text;
    WriteText(*this, Data, '\n', text, [](std::string &) {});
    if (vollo_write_file(path.c_str(), text.data(), text.size()))
        return true;
    LastError = "ini: cannot write file";
    return false;
}

}  // namespace kzr
