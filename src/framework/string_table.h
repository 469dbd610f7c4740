// Texts from the running program's own string table.
#pragma once
#include <string>

// A number that the table does not hold (or holds empty) gives empty text.
std::string LoadText(unsigned id);
