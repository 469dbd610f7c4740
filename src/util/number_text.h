// Version numbers as the five-decimal text that is stored and shown.
#pragma once
#include <string>

// Five decimals, halves rounded up on the double's exact binary value, sign dropped.
// Values from 0.1 up to below 1 (and zero) get no leading zero: 0.5 -> ".50000",
// 0.05 -> "0.05000". Infinity gives "inf" and NaN "nan".
void DoubleToText(double x, std::string& out);
