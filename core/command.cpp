#include "command.h"

#include <stdarg.h>
#include <stdio.h>

static const char NULL_TEXT[] = "(null)";

static const char *or_empty(const char *text)
{
	return text ? text : "";
}

static bool format(char *buf, size_t size, const char *fmt, ...)
{
	va_list ap;
	int n;

	if (size == 0)
		return false;
	va_start(ap, fmt);
	n = vsnprintf(buf, size, fmt, ap);
	va_end(ap);
	if (n < 0 || (size_t)n >= size) {
		buf[0] = '\0';
		return false;
	}
	return true;
}

bool format_mark_mail(char *buf, size_t size, const char *text,
                      unsigned short first, unsigned short second)
{
	// Widened without sign: 65535 must never read as -1.
	return format(buf, size, "[MarkMail(%s,%u,%u)]", or_empty(text),
	              (unsigned)first, (unsigned)second);
}

bool format_delete_mail(char *buf, size_t size, const char *text)
{
	return format(buf, size, "[DeleteMail(%s)]", or_empty(text));
}

bool format_move_mail(char *buf, size_t size, const char *text,
                      const char *folder)
{
	return format(buf, size, "[MoveMail(%s,%s)]", or_empty(text),
	              or_empty(folder));
}

bool format_insert_mail(char *buf, size_t size, const char *entry,
                        const char *folder, int number)
{
	return format(buf, size, "[InsertMail(%s,%s,%d)]", or_empty(entry),
	              or_empty(folder), number);
}

bool format_set_online(char *buf, size_t size, int number)
{
	return format(buf, size, "[SetOnline(%d)]", number);
}

bool format_retreive(char *buf, size_t size, int number)
{
	return format(buf, size, "[Retreive(%d)]", number);
}

bool format_reload_profile(char *buf, size_t size)
{
	return format(buf, size, "[ReloadProfile]");
}

bool format_change_password(char *buf, size_t size, const char *text,
                            int number)
{
	// The client has always been sent "(null)" for a missing password;
	// spelled out here because a null %s is not defined behaviour.
	return format(buf, size, "[ChangePassword(%s,%d)]",
	              text ? text : NULL_TEXT, number);
}
