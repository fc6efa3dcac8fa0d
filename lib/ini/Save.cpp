#include "ini/Ini.hpp"

#include <ostream>
#include <streambuf>

#include "ini/IniFile.hpp"
#include "ini/IniText.hpp"

namespace kzr
{

namespace
{

// Collects everything written into one string; flushing costs nothing, so the
// flush at each end of line does not turn into a system call per line.
class StringSink : public std::streambuf
{
  public:
    explicit StringSink(std::string &out) : out(out)
    {
    }

  protected:
    int_type overflow(int_type byte) override
    {
        if (!traits_type::eq_int_type(byte, traits_type::eof()))
            out.push_back(traits_type::to_char_type(byte));
        return traits_type::not_eof(byte);
    }
    std::streamsize xsputn(const char *bytes, std::streamsize count) override
    {
        out.append(bytes, static_cast<size_t>(count));
        return count;
    }

  private:
    std::string &out;
};

}  // namespace

void Ini::Save(std::ostream &stream) const
{
    const char newline = stream.widen('\n');
    std::string line;
    for (const ScopeMap::value_type &scope : Data)
    {
        if (!scope.first.empty())
        {
            line.assign(1, '[').append(scope.first).append(1, ']').append(1, newline);
            stream.write(line.data(), static_cast<std::streamsize>(line.size()));
            stream.flush();
        }
        for (const FieldMap::value_type &field : scope.second)
        {
            line.assign(field.first).append(1, '=');
            if (field.second.empty())
                line.append("\"\"");  // "=" alone would take the next line as its value
            for (size_t index = 0; index < field.second.size(); ++index)
            {
                if (index > 0)
                    line.append(1, ',');
                if (index > 0 && index % 10 == 0)
                {
                    // Ten values a line: the line ends after the tenth comma.
                    line.append(1, newline);
                    stream.write(line.data(), static_cast<std::streamsize>(line.size()));
                    stream.flush();
                    line.clear();
                }
                line.append(1, '"').append(BuildString(field.second[index])).append(1, '"');
            }
            line.append(1, newline);
            stream.write(line.data(), static_cast<std::streamsize>(line.size()));
            stream.flush();
        }
    }
}

bool Ini::Save(const std::string &path) const
{
    for (const ScopeMap::value_type &scope : Data)
    {
        if (!scope.first.empty() && !initext::IsReadableName(scope.first))
            return false;
        for (const FieldMap::value_type &field : scope.second)
            if (!initext::IsReadableName(field.first))
                return false;
    }
    std::string text;
    StringSink sink(text);
    std::ostream stream(&sink);
    Save(stream);
    return inifile::WriteWhole(path, text);
}

}  // namespace kzr
