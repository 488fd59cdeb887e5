#include "textcopy.h"

#include <stdint.h>
#include <string.h>

enum { CR = 0x0D, LF = 0x0A, CTRL_Z = 0x1A };

// Sixteen bytes tested at once (SSE2 on x86-64, plain code elsewhere).
typedef unsigned char Chunk __attribute__((vector_size(16)));
enum { CHUNK_SIZE = sizeof(Chunk) };

// Whether p[0..16) holds a Ctrl-Z or an LF without a CR in front of it;
// p[-1] is the byte before. A mail with CR LF line ends has neither, so
// most of it passes sixteen bytes at a time.
static bool needs_work(const unsigned char *p)
{
	Chunk here, before;
	uint64_t hit[2];

	memcpy(&here, p, sizeof here);
	memcpy(&before, p - 1, sizeof before);
	auto found = ((here == (unsigned char)LF) & (before != (unsigned char)CR)) |
	             (here == (unsigned char)CTRL_Z);
	memcpy(hit, &found, sizeof hit);
	return (hit[0] | hit[1]) != 0;
}

// Translates the block in[0..n); in[-1] holds the byte read before it (a
// CR or not). Sets *ended at a Ctrl-Z, and *data to what is to be
// written, returning its length: the block itself as long as it needs no
// CR put in, otherwise out (2 * n bytes), filled from the first such LF
// on as the scan goes.
static size_t translate(const unsigned char *in, size_t n, unsigned char *out,
                        bool *ended, const unsigned char **data)
{
	size_t i = 0, o = 0, stop;
	bool copying = false; // out holds the translation of in[0..i)
	// before[i] is the byte in front of in[i]; in[i - 1] would wrap the
	// index for i == 0.
	const unsigned char *before = in - 1;

	while (i < n) {
		for (; i + CHUNK_SIZE <= n && !needs_work(in + i); i += CHUNK_SIZE)
			if (copying) {
				memcpy(out + o, in + i, CHUNK_SIZE);
				o += CHUNK_SIZE;
			}
		for (stop = i + CHUNK_SIZE < n ? i + CHUNK_SIZE : n; i < stop; i++) {
			if (in[i] == CTRL_Z) {
				*ended = true;
				n = i;
				break;
			}
			if (in[i] == LF && before[i] != CR) {
				if (!copying) {
					memcpy(out, in, i);
					o = i;
					copying = true;
				}
				out[o++] = CR;
			}
			if (copying)
				out[o++] = in[i];
		}
	}
	*data = copying ? out : in;
	return copying ? o : n;
}

TextCopyResult copy_text(FILE *in, FILE *out, size_t block)
{
	// One byte in front of each block keeps the last byte of the block
	// before, for an LF that begins this one.
	unsigned char inbuf[1 + TEXT_BLOCK_SIZE];
	unsigned char outbuf[2 * TEXT_BLOCK_SIZE];
	unsigned char *blk = inbuf + 1;
	const unsigned char *data;
	bool ended = false;
	size_t n;

	if (block == 0 || block > TEXT_BLOCK_SIZE)
		block = TEXT_BLOCK_SIZE;
	// cppcheck-suppress unreadVariable ; translate() reads it as blk[-1]
	inbuf[0] = 0;
	while (!ended && (n = fread(blk, 1, block, in)) > 0) {
		size_t o = translate(blk, n, outbuf, &ended, &data);
		if (fwrite(data, 1, o, out) != o)
			return TEXT_COPY_WRITE_ERROR;
		// cppcheck-suppress unreadVariable ; read as blk[-1], as above
		inbuf[0] = blk[n - 1];
	}
	if (!ended && ferror(in))
		return TEXT_COPY_READ_ERROR;
	if (fflush(out) != 0)
		return TEXT_COPY_WRITE_ERROR;
	return TEXT_COPY_OK;
}
