// Reading of numeric arguments, as the tools read them.
#ifndef CORE_NUMBER_H
#define CORE_NUMBER_H

// Decimal reading: leading white space, one optional sign, then the
// digits up to the first non-digit; no digit reads as 0. A value beyond
// the range of int saturates at INT_MAX or INT_MIN, so that an overlong
// number can never wrap into a small valid one.
int read_decimal(const char *text);

#endif
