#include "textcopy.h"

enum { CR = 0x0D, LF = 0x0A, CTRL_Z = 0x1A };

// Translates in[0..n) into out, which holds 2 * n bytes. *after_cr says
// whether the byte read before in[0] was a CR and is updated for the next
// block. Returns the number of bytes put out; sets *ended at a Ctrl-Z.
static size_t translate(const unsigned char *in, size_t n, unsigned char *out,
                        bool *after_cr, bool *ended)
{
	size_t o = 0;

	for (size_t i = 0; i < n; i++) {
		unsigned char c = in[i];

		if (c == CTRL_Z) {
			*ended = true;
			break;
		}
		if (c == LF && !*after_cr)
			out[o++] = CR;
		out[o++] = c;
		*after_cr = c == CR;
	}
	return o;
}

TextCopyResult copy_text(FILE *in, FILE *out, size_t block)
{
	unsigned char inbuf[TEXT_BLOCK_SIZE];
	unsigned char outbuf[2 * TEXT_BLOCK_SIZE];
	bool after_cr = false, ended = false;
	size_t n, o;

	if (block == 0 || block > sizeof inbuf)
		block = sizeof inbuf;
	while (!ended && (n = fread(inbuf, 1, block, in)) > 0) {
		o = translate(inbuf, n, outbuf, &after_cr, &ended);
		if (fwrite(outbuf, 1, o, out) != o)
			return TEXT_COPY_WRITE_ERROR;
	}
	if (!ended && ferror(in))
		return TEXT_COPY_READ_ERROR;
	if (fflush(out) != 0)
		return TEXT_COPY_WRITE_ERROR;
	return TEXT_COPY_OK;
}
