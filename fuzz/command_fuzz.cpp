// The eight command formats with arbitrary texts, numbers and buffer
// sizes, against a plain string-built reference: a command either comes
// out whole and exact or not at all, and nothing is written past `size`.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "command.h"

static std::string text_or(const char *t, const char *none)
{
	return t ? t : none;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t n)
{
	if (n < 8)
		return 0;
	unsigned which = data[0] % 8;
	size_t size = (size_t)(data[1] | data[2] << 8) % (COMMAND_SIZE * 2);
	int number;
	memcpy(&number, data + 3, sizeof number);
	bool null_first = data[7] & 1, null_second = data[7] & 2;
	data += 8;
	n -= 8;

	// Two texts from the rest, split at the first 0xFF; NUL bytes end a
	// text early, as they would for a caller.
	const uint8_t *cut = (const uint8_t *)memchr(data, 0xFF, n);
	size_t first_len = cut ? (size_t)(cut - data) : n;
	std::string first((const char *)data, first_len);
	std::string second = cut ? std::string((const char *)cut + 1,
	                                       n - first_len - 1) : "";
	const char *t1 = null_first ? nullptr : first.c_str();
	const char *t2 = null_second ? nullptr : second.c_str();
	unsigned short u1 = (unsigned short)number;
	unsigned short u2 = (unsigned short)(number >> 16);

	char *buf = (char *)malloc(size ? size : 1);
	bool ok = false;
	std::string expected;
	switch (which) {
	case 0:
		ok = format_mark_mail(buf, size, t1, u1, u2);
		expected = "[MarkMail(" + text_or(t1, "") + "," +
		           std::to_string(u1) + "," + std::to_string(u2) + ")]";
		break;
	case 1:
		ok = format_delete_mail(buf, size, t1);
		expected = "[DeleteMail(" + text_or(t1, "") + ")]";
		break;
	case 2:
		ok = format_move_mail(buf, size, t1, t2);
		expected = "[MoveMail(" + text_or(t1, "") + "," + text_or(t2, "") +
		           ")]";
		break;
	case 3:
		ok = format_insert_mail(buf, size, t1, t2, number);
		expected = "[InsertMail(" + text_or(t1, "") + "," +
		           text_or(t2, "") + "," + std::to_string(number) + ")]";
		break;
	case 4:
		ok = format_set_online(buf, size, number);
		expected = "[SetOnline(" + std::to_string(number) + ")]";
		break;
	case 5:
		ok = format_retreive(buf, size, number);
		expected = "[Retreive(" + std::to_string(number) + ")]";
		break;
	case 6:
		ok = format_reload_profile(buf, size);
		expected = "[ReloadProfile]";
		break;
	case 7:
		ok = format_change_password(buf, size, t1, number);
		expected = "[ChangePassword(" + text_or(t1, "(null)") + "," +
		           std::to_string(number) + ")]";
		break;
	}
	bool fits = expected.size() < size;
	if (ok != fits)
		abort();
	if (ok && expected != buf)
		abort();
	if (!ok && size > 0 && buf[0] != '\0')
		abort();
	free(buf);
	return 0;
}
