// Naming the new mail file from the client's answers. The answers come
// from another program and are checked before they are used: a request
// can report success and deliver nothing, an unterminated text, or a name
// that would lead out of the mailbox directory.
#ifndef CORE_MAILFILE_H
#define CORE_MAILFILE_H

#include <stddef.h>

// True when buf holds a non-empty text terminated within its size bytes.
// A buffer filled with a non-zero byte before the request therefore
// reads as no answer when the request delivered nothing.
bool is_answer(const char *buf, size_t size);

// True when buf holds an answer (as above) that names a file directly
// inside the mailbox directory: no '\' or '/', no drive colon, not "." or
// "..", and no device name such as NUL or COM1, with or without a dot and
// more after it.
bool is_entry_name(const char *buf, size_t size);

// Writes directory + entry + ".wml" into path (size bytes, terminator
// included); nothing is put between directory and entry. Returns false,
// leaving path empty, when the result would not fit.
bool compose_mail_path(char *path, size_t size, const char *dir,
                       const char *entry);

// True when the system would open `path` as a device rather than as a
// file: when its last part (after the last '\' or '/', and after a drive
// "X:" that stands in front of it) is a device name as is_entry_name()
// knows them. The entry name is checked alone, but the mailbox directory
// is a prefix and may end in such a name itself ("...\NUL." + entry).
bool is_device_path(const char *path);

#endif
