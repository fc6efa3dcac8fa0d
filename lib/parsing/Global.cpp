// The vocabulary of kzr::ParsingTools. Accented letters are UTF-8 bytes; every
// member is initialised statically from a literal and never depends on another.

#include "parsing/ParsingTools.hpp"

namespace kzr
{

typedef ParsingTools P;

const std::string P::FieldNameFirstChar = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
const std::string P::FieldName = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
const std::string P::HexaPrefix = "0x";
const std::string P::Hexadecimal = "0123456789abcdef";
const std::string P::DecimalPrefix = "";
const std::string P::Decimal = "0123456789";
const std::string P::OctalPrefix = "0";
const std::string P::Octal = "01234567";
const std::string P::BinPrefix = "0b";
const std::string P::Binary = "01";

const std::string P::StringDelimiter = "\"";
const std::string P::CharacterDelimiter = "'";
const std::string P::OpenSection = "[";
const std::string P::CloseSection = "]";
const std::string P::CloseScope = "]";
const std::string P::OpenPriority = "(";
const std::string P::ClosePriority = ")";
const std::string P::Separator = ",";
const std::string P::RealComma = ".";
const std::string P::DirectAccess = ".";
const std::string P::AddressAccess = "->";
const std::string P::PreviousNode = "_";
const std::string P::CurrentNode = "{}";
const std::string P::VelmorRoot = "[]";
const std::string P::GetAddress = "&";
const std::string P::Address = ":";
const std::string P::Pointer = "*";
const std::string P::PointerPrefix = "#";
const std::string P::DescriptorPrefix = "$";
const std::string P::TypePrefix = "?";
const std::string P::NullPtr = "NULL";
const std::string P::OpenScript = "[Script";
const std::string P::OpenSequence = "[Sequence";
const std::string P::OpenData = "[Collection";
const std::string P::OpenXML = "[XML";

const std::string P::NullAddr[2] = {"Nowhere", "Nullepart"};
const std::string P::Nothing[3] = {"Nothing", "Rien", "Vide"};
const std::string P::Assignation[4] = {"=", ":=", "<=", "<-"};
const std::string P::Include[2] = {"Include", "Inclure"};
const std::string P::IncludeCipher[2] = {"Includec", "Inclurec"};
const std::string P::Message[1] = {"Message"};
const std::string P::Warning[2] = {"Warning", "Attention"};
const std::string P::ErrorD[2] = {"Error", "Erreur"};
const std::string P::Extern[1] = {"extern"};
const std::string P::Local[1] = {"local"};
const std::string P::Private[2] = {"private", "privé"};
const std::string P::Protected[2] = {"protected", "protégé"};
const std::string P::Locked[2] = {"locked", "verrouillé"};
const std::string P::Public[2] = {"public", "publique"};
const std::string P::Limited[2] = {"limited", "limité"};
const std::string P::Strict[1] = {"strict"};
const std::string P::Restricted[2] = {"restricted", "restreint"};
const std::string P::Const[2] = {"const", "solid"};
const std::string P::Variant[3] = {"variant", "void", "variable"};
const std::string P::Boolean[3] = {"boolean", "booléen", "bool"};
const std::string P::Integer[3] = {"integer", "int", "entier"};
const std::string P::Real[3] = {"double", "real", "réel"};
const std::string P::Character[3] = {"character", "char", "charactère"};
const std::string P::String[2] = {"string", "chaine"};
const std::string P::Descriptor[2] = {"descriptor", "index"};
const std::string P::Type[1] = {"type"};
const std::string P::Record[4] = {"record", "structure", "struct", "enregistrement"};
const std::string P::True[4] = {"True", "Yes", "Vrai", "Oui"};
const std::string P::False[4] = {"False", "Non", "Faux", "No"};
const std::string P::Field[2] = {"Field", "Champ"};
const std::string P::Collection[1] = {"Collection"};
const std::string P::Script[1] = {"Script"};
const std::string P::Sequence[1] = {"Sequence"};
const std::string P::XMLType[1] = {"XML"};
const std::string P::DataLength[4] = {"Byte", "Short", "Word", "Long"};

const std::string P::Teal = "\x1b[1;36m";
const std::string P::Blue = "\x1b[1;34m";
const std::string P::Red = "\x1b[1;31m";
const std::string P::Green = "\x1b[1;32m";
const std::string P::Purple = "\x1b[0;35m";
const std::string P::Pink = "\x1b[1;35m";
const std::string P::Yellow = "\x1b[1;33m";
const std::string P::Grey = "\x1b[1;30m";
const std::string P::BlackOnWhite = "\x1b[0;30;47m";
const std::string P::White = "\x1b[00m";

}  // namespace kzr
