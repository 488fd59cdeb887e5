#include "mailfile.h"

#include <stdio.h>
#include <string.h>

bool is_answer(const char *buf, size_t size)
{
	return size > 0 && buf[0] != '\0' && memchr(buf, '\0', size) != NULL;
}

bool is_entry_name(const char *buf, size_t size)
{
	if (!is_answer(buf, size))
		return false;
	// Any 0x5C byte is refused, even the second byte of a double-byte
	// character: the code page the path is read in is not known here.
	if (strpbrk(buf, "\\/:") != NULL)
		return false;
	return strcmp(buf, ".") != 0 && strcmp(buf, "..") != 0;
}

bool compose_mail_path(char *path, size_t size, const char *dir,
                       const char *entry)
{
	int n;

	if (size == 0)
		return false;
	n = snprintf(path, size, "%s%s.wml", dir, entry);
	if (n < 0 || (size_t)n >= size) {
		path[0] = '\0';
		return false;
	}
	return true;
}
