#include "position.h"

#include "number.h"

bool read_position(const char *text, int *position)
{
	for (const char *p = text; *p; p++)
		if (*p < '0' || *p > '9')
			return false;
	// Only digits are left, which the decimal reading takes as they are
	// and saturates at INT_MAX.
	*position = read_decimal(text);
	return true;
}
