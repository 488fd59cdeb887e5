// Copying a mail file as a text-mode stream pair would, but over binary
// block reads and writes.
//
// The copy reads like a text-mode stream: it stops at the first 0x1A
// (Ctrl-Z), and a CR directly followed by LF reads as that LF, while a CR
// followed by anything else, or last, stays a CR. It writes like one:
// every LF goes out as CR LF. All other bytes, 0x00 and both bytes of
// double-byte characters included, pass unchanged.
//
// Taken together, the output is the input up to its first 0x1A with a CR
// put in front of every LF that has none; the CR that ends one block is
// remembered for an LF that begins the next.
#ifndef CORE_TEXTCOPY_H
#define CORE_TEXTCOPY_H

#include <stddef.h>
#include <stdio.h>

// The largest block read at once; the copy holds one block in and twice
// that out, whatever the length of the file.
enum { TEXT_BLOCK_SIZE = 32 * 1024 };

enum TextCopyResult {
	TEXT_COPY_OK,
	TEXT_COPY_READ_ERROR,
	TEXT_COPY_WRITE_ERROR
};

// Copies `in` (opened "rb") to `out` (opened "wb") reading `block` bytes
// at a time; a block of 0 or above TEXT_BLOCK_SIZE reads as
// TEXT_BLOCK_SIZE. `out` is flushed before TEXT_COPY_OK is returned, so a
// write error that stdio held back is reported too. Neither stream is
// closed.
TextCopyResult copy_text(FILE *in, FILE *out, size_t block);

#endif
