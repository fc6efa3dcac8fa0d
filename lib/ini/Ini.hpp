#ifndef KZR_INI_HPP
#define KZR_INI_HPP

// kzr::Ini: an in-memory INI document. A document is a set of named scopes, each
// holding named fields, each field an ordered array of text values (arbitrary byte
// strings, NUL bytes included). The scope with the empty name is the default scope.
//
// Both tables are ordered by plain byte-wise comparison of the names (bytes taken
// as unsigned, a shorter name before a longer one that it begins), so every walk
// visits the default scope first, digits before upper-case letters, upper-case
// letters before '_', and '_' before lower-case letters.
//
// Failures are reported by result and by a fixed message beginning "ini: " stored
// in LastError; nothing is printed. The const Access signals a failure by returning
// LastError itself: compare the address of what it returns with the address of
// Error, never the text.

#include <cstring>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "parsing/ParsingTools.hpp"

namespace kzr
{

// Byte-wise order of names: unsigned bytes, then length.
struct ByteOrder
{
    bool operator()(const std::string &left, const std::string &right) const
    {
        size_t common = left.size() < right.size() ? left.size() : right.size();
        int order = common ? std::memcmp(left.data(), right.data(), common) : 0;  // unsigned bytes
        return order < 0 || (order == 0 && left.size() < right.size());
    }
};

class Ini : public ParsingTools
{
  public:
    typedef std::vector<std::string> ValueArray;
    typedef std::map<std::string, ValueArray, ByteOrder> FieldMap;
    typedef std::map<std::string, FieldMap, ByteOrder> ScopeMap;

    // The creating Access grows a field up to, but not including, this index: an
    // index at or past it that lies beyond the field's end is refused by throwing
    // std::length_error before anything is created. 2^20 values of empty strings
    // are 32 MiB; anything larger is almost surely a negative index that crossed
    // an unsigned boundary, not a real request.
    static constexpr unsigned int MaxCreatingIndex = 1u << 20;

    // A document holding the default scope only, with no fields.
    Ini();
    virtual ~Ini();
    // Error is bound to this object's own LastError, so copies make no sense.
    Ini(const Ini &) = delete;
    Ini &operator=(const Ini &) = delete;

    // Direct access to the scope table; callers may change it freely.
    ScopeMap &GetData();
    const ScopeMap &GetData() const;

    // Value `index` of scope.field without creating anything. On failure stores
    // "ini: cannot find scope.", "ini: cannot find field." or "ini: array index is
    // out of range." (tested in that order) and returns LastError.
    const std::string &Access(const std::string &scope, const std::string &field,
                              unsigned int index) const;
    // strtol (base 10) of that value; 0 on failure. A NUL byte ends the text.
    long AccessInt(const std::string &scope, const std::string &field, unsigned int index) const;
    // strtod of that value; 0.0 on failure.
    double AccessDbl(const std::string &scope, const std::string &field, unsigned int index) const;

    // Value `index` of scope.field, creating the scope, the field and empty values
    // up to `index` as needed; never writes LastError. Throws std::length_error for
    // an index at or past MaxCreatingIndex beyond the field's end, and passes on
    // std::bad_alloc; in both cases the document is left as it was (a scope or
    // field created by this call is removed again).
    std::string &Access(const std::string &scope, const std::string &field, unsigned int index);
    // strtol (base 10) / strtod of the (possibly new, empty) value.
    long AccessInt(const std::string &scope, const std::string &field, unsigned int index);
    double AccessDbl(const std::string &scope, const std::string &field, unsigned int index);

    // Reads the file at `path`, blanks its comments ("#" to the end of the line,
    // and the blanks right before the "#") and reads the text into the document.
    // False with "ini: cannot open file" when the path cannot be opened or read, is
    // a directory, or holds 4 GiB - 1 bytes or more; otherwise Read's result. Pipes
    // and other unseekable sources are read to their end.
    bool Load(const std::string &path);
    // Parses `text` into the document, adding to what it holds (duplicate scope and
    // field names get the first free decimal suffix). Stops at the first error with
    // its message in LastError; what was read before it stays. A text of 4 GiB - 1
    // bytes or more is refused with "ini: text too large.".
    bool Read(const std::string &text);
    // Appends the values of one field read from `position` (a position past the
    // end counts as the end); `position` ends after the separators that follow the
    // last value. False with "ini: error while reading a complex string." on a
    // malformed quoted value, and with "ini: text too large." as Read.
    bool ReadArray(const std::string &text, unsigned int &position, ValueArray &values);

    // Writes the document in canonical form: every value quoted, at most ten values
    // a line, the stream flushed at each end of line. A field with no values is
    // written with one empty value, so that it cannot swallow the next line.
    void Save(std::ostream &stream) const;
    // Writes the document to a file. A regular file (or a new one) is replaced
    // whole through a temporary file in the same folder, keeping its permissions;
    // any other existing target (a device, a FIFO) is written in place. False, with
    // an existing regular file left untouched, when the file cannot be opened or
    // written (a full disk included; "ini: cannot write file" in LastError) or when a
    // scope or field name is not a non-empty run of name characters (the default
    // scope's empty name aside; "ini: a scope or field name could not be read back.").
    bool Save(const std::string &path) const;

    mutable std::string LastError;  // the most recent failure; a success never clears it
    const std::string &Error;       // bound to LastError: the failure result of Access

  protected:
    ScopeMap Data;

  public:
    // Where the latest reading error was found: a byte offset into the text Read was
    // given, and after a failed Load the line of the file (from 1; 0 when the failure
    // has no place, as for a file that cannot be opened).
    unsigned int ErrorPosition = 0;
    unsigned int ErrorLine = 0;
};

}  // namespace kzr

#endif
