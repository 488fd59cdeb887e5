// The block copier against a plain one-byte-at-a-time text-mode copy, for
// arbitrary bytes and block sizes.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "textcopy.h"

static std::string reference(const uint8_t *in, size_t n)
{
	std::string out;

	for (size_t i = 0; i < n && in[i] != 0x1A; i++) {
		if (in[i] == '\n' && (i == 0 || in[i - 1] != '\r'))
			out += '\r';
		out += (char)in[i];
	}
	return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t n)
{
	if (n < 2)
		return 0;
	size_t block = (size_t)(data[0] | data[1] << 8);
	data += 2;
	n -= 2;

	char *outbuf = NULL;
	size_t outlen = 0;
	FILE *in = fmemopen((void *)data, n ? n : 1, "rb");
	FILE *out = open_memstream(&outbuf, &outlen);
	if (!in || !out)
		abort();
	if (n == 0)
		fgetc(in); // an empty stream: fmemopen needs one byte of room
	if (copy_text(in, out, block) != TEXT_COPY_OK)
		abort();
	fclose(in);
	fclose(out);
	if (std::string(outbuf, outlen) != reference(data, n))
		abort();
	free(outbuf);
	return 0;
}
