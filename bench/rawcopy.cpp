// rawcopy: the baseline for TwnSend's copy. Copies SRC to DST byte for
// byte in blocks of the same size, through the same streams, with no
// translation.
#include <stdio.h>

#include "textcopy.h"

int main(int argc, char **argv)
{
	static unsigned char buf[TEXT_BLOCK_SIZE];
	FILE *in, *out;
	size_t n;

	if (argc < 3) {
		fputs("Usage rawcopy SRC DST\n", stderr);
		return 1;
	}
	in = fopen(argv[1], "rb");
	out = fopen(argv[2], "wb");
	if (!in || !out)
		return 2;
	setvbuf(out, NULL, _IONBF, 0);
	while ((n = fread(buf, 1, sizeof buf, in)) > 0)
		if (fwrite(buf, 1, n, out) != n)
			return 3;
	if (ferror(in) || fclose(out) != 0)
		return 3;
	fclose(in);
	return 0;
}
