// Which of the launcher's three jobs a command line asks for.
#pragma once
#include <string>
#include <vector>

// None: nothing to do (a policy value that cannot be used stops every road but -uninstall).
// UserOptions: open the user's own options file.
enum class Road { Launch, Install, Uninstall, UserOptions, None };

// args[0] is the program path and is never examined. The first argument that equals
// "-install", "-uninstall" or "-user-options" as a whole, ignoring the case of ASCII letters,
// decides.
Road ChooseRoad(const std::vector<std::string>& args);

// "-quiet" after the deciding "-install": search and record as always, never ask or show a box.
bool AsksQuiet(const std::vector<std::string>& args);

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);
