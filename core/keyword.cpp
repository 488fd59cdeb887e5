#include "keyword.h"

// Not tolower(): that depends on the locale and would fold bytes above
// 0x7F, which must compare exactly.
static unsigned char fold(char c)
{
	unsigned char u = (unsigned char)c;

	return u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : u;
}

bool keyword_matches(const char *arg, const char *keyword)
{
	// An argument shorter than the keyword stops at its terminator, which
	// equals no keyword byte.
	for (; *keyword; arg++, keyword++)
		if (fold(*arg) != fold(*keyword))
			return false;
	return true;
}
