// The decimal reading against the C library's strtol, clamped to int:
// the same white space, sign and digits, and no wrap-around.
#include <limits.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t n)
{
	std::string text((const char *)data, n);
	long long ref = strtoll(text.c_str(), nullptr, 10);

	if (ref > INT_MAX)
		ref = INT_MAX;
	if (ref < INT_MIN)
		ref = INT_MIN;
	if (read_decimal(text.c_str()) != ref)
		abort();
	return 0;
}
