// The keyword test on arbitrary bytes against a plain reading of its
// rule, with both strings in heap blocks of their exact size so that a
// read past either terminator is caught.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "keyword.h"

static unsigned char fold(unsigned char c)
{
	return c >= 'A' && c <= 'Z' ? (unsigned char)(c - 'A' + 'a') : c;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t n)
{
	const uint8_t *cut = (const uint8_t *)memchr(data, 0, n);
	if (!cut)
		return 0;
	size_t klen = (size_t)(cut - data);
	char *keyword = (char *)malloc(klen + 1);
	memcpy(keyword, data, klen + 1);
	size_t alen = strnlen((const char *)cut + 1, n - klen - 1);
	char *arg = (char *)malloc(alen + 1);
	memcpy(arg, cut + 1, alen);
	arg[alen] = '\0';

	bool expected = alen >= klen;
	for (size_t i = 0; expected && i < klen; i++)
		expected = fold((unsigned char)arg[i]) == fold((unsigned char)keyword[i]);
	if (keyword_matches(arg, keyword) != expected)
		abort();
	free(arg);
	free(keyword);
	return 0;
}
