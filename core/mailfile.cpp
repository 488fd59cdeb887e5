#include "mailfile.h"

#include <stdio.h>
#include <string.h>

#include "keyword.h"

// Names the system takes for a device rather than a file, whatever the
// directory and the extension: "NUL.wml" in the mailbox is the null
// device, and a mail copied there is gone.
static const char *const DEVICES[] = {
	"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$",
};
// COM and LPT with one digit after them, superscript 1 to 3 included.
static const char *const NUMBERED_DEVICES[] = {"COM", "LPT"};
static const char DEVICE_DIGITS[] = "0123456789\xB9\xB2\xB3";

// The name up to its first dot (or colon, which may only begin a stream
// name), blanks before it not counted, is what the system compares with
// its device names, ASCII letters without regard to case: the keyword
// test, held to the device name's whole length.
static bool is_device_name(const char *name)
{
	size_t n = strcspn(name, ".:");

	while (n > 0 && name[n - 1] == ' ')
		n--;
	for (const char *d : DEVICES)
		if (n == strlen(d) && keyword_matches(name, d))
			return true;
	for (const char *d : NUMBERED_DEVICES)
		if (n == strlen(d) + 1 && keyword_matches(name, d) &&
		    strchr(DEVICE_DIGITS, name[n - 1]) != NULL)
			return true;
	return false;
}

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
	return strcmp(buf, ".") != 0 && strcmp(buf, "..") != 0 &&
	       !is_device_name(buf);
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

bool is_device_path(const char *path)
{
	const char *name = path;

	for (const char *p = path; *p; p++)
		if (*p == '\\' || *p == '/')
			name = p + 1;
	// "C:NUL.wml" is NUL on drive C:, as "C:\NUL.wml" is.
	if (name == path && name[0] != '\0' && name[1] == ':')
		name += 2;
	return is_device_name(name);
}
