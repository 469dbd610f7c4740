// Ordered list of texts, filled from head to tail and walked in the same order.
#pragma once
#include <string>
#include <vector>

using TextList = std::vector<std::string>;
