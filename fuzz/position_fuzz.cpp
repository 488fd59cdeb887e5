// TwnCur's position reading against strtoull: digits only, saturating at
// INT_MAX, never negative.
#include <errno.h>
#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "position.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t n)
{
	std::string text((const char *)data, strnlen((const char *)data, n));
	bool digits = text.find_first_not_of("0123456789") == std::string::npos;
	int position = -7;

	if (read_position(text.c_str(), &position) != digits)
		abort();
	if (!digits) {
		if (position != -7)
			abort();
		return 0;
	}
	errno = 0;
	unsigned long long value = text.empty() ? 0 : strtoull(text.c_str(), NULL, 10);
	if (errno == ERANGE || value > INT_MAX)
		value = INT_MAX;
	if (position != (int)value)
		abort();
	return 0;
}
