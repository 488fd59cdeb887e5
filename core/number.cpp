#include "number.h"

#include <limits.h>

static bool is_space(char c)
{
	return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
	       c == '\r';
}

static bool is_digit(char c)
{
	return c >= '0' && c <= '9';
}

int read_decimal(const char *text)
{
	long long value = 0;
	bool negative = false;

	while (is_space(*text))
		text++;
	if (*text == '+' || *text == '-')
		negative = *text++ == '-';
	for (; is_digit(*text); text++) {
		value = value * 10 + (*text - '0');
		// One past INT_MAX still fits INT_MIN when negated.
		if (value > (long long)INT_MAX + 1)
			value = (long long)INT_MAX + 1;
	}
	if (negative)
		return (int)-value;
	return value > INT_MAX ? INT_MAX : (int)value;
}
