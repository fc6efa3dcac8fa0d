#include "vollo.h"

// Marker objects of the INI handle API; their twins live in the Vollo namespace.
const char *default_scope = nullptr;
vollo_ini_scope *last_scope = nullptr;
const char *erase_index = nullptr;
const char *erase_scope = nullptr;
const int erase_field = -1;
