// Naming the new mail file from arbitrary client answers: the path is
// exactly directory + entry + ".wml" or nothing, never longer than its
// buffer, an accepted entry name never leads out of the directory, and
// it never names a device there.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "mailfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t n)
{
	if (n < 2)
		return 0;
	size_t size = data[0] | (data[1] & 1) << 8; // 0..511, around 260
	data += 2;
	n -= 2;

	// The answers as a client's buffer holds them: not always terminated.
	const uint8_t *cut = (const uint8_t *)memchr(data, 0xFF, n);
	size_t first = cut ? (size_t)(cut - data) : n;
	char *entry = (char *)malloc(first ? first : 1);
	memcpy(entry, data, first);
	bool accepted = is_entry_name(entry, first);
	if (accepted) {
		std::string name(entry);
		if (name.find_first_of("\\/:") != std::string::npos ||
		    name == "." || name == ".." || name.empty() ||
		    name.size() >= first)
			abort();
	}
	if (is_answer(entry, first) != (memchr(entry, 0, first) != NULL &&
	                                first > 0 && entry[0] != '\0'))
		abort();

	std::string dir = cut ? std::string((const char *)cut + 1,
	                                    n - first - 1) : "";
	dir.resize(strlen(dir.c_str())); // a NUL ends the text
	std::string name = accepted ? entry : "e";
	char *path = (char *)malloc(size ? size : 1);
	bool ok = compose_mail_path(path, size, dir.c_str(), name.c_str());
	std::string expected = dir + name + ".wml";
	if (ok != (expected.size() < size))
		abort();
	if (ok && expected != path)
		abort();
	if (!ok && size > 0 && path[0] != '\0')
		abort();
	// Behind a directory that ends in a separator, the file's name is
	// the entry's own, which is no device once accepted.
	bool behind_separator = !dir.empty() &&
	                        (dir.back() == '\\' || dir.back() == '/');
	if (ok && is_device_path(path) && accepted && behind_separator)
		abort();
	free(path);
	free(entry);
	return 0;
}
