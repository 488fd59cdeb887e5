#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "mailfile.h"

enum { ENTRY_SIZE = 64, PATH_SIZE = 260, UNFILLED = 0x7F };

// A request buffer as the tool prepares it: filled with a non-zero byte,
// then whatever the client delivered copied over its start.
static std::string answer(const std::string &delivered)
{
	std::string buf(ENTRY_SIZE, (char)UNFILLED);

	return buf.replace(0, delivered.size(), delivered);
}

#define S(literal) std::string((literal), sizeof(literal) - 1)

// Each answer judged as the mailbox directory (any terminated text) and
// as an entry name (a file name directly inside that directory).
TEST(MailFile, Answers)
{
	const struct {
		const char *name;
		std::string delivered;
		bool answer, entry;
	} rows[] = {
		{"fresh name", S("dry00001\0"), true, true},
		{"63 characters", std::string(63, 'e') + '\0', true, true},
		{"dots inside", S("a.b..c\0"), true, true},
		{"three dots", S("...\0"), true, true},
		{"directory", S("C:\\box\\\0"), true, false},
		{"nothing delivered", S(""), false, false},
		{"empty text", S("\0"), false, false},
		{"no terminator", S("dry00001"), false, false},
		{"64 characters, no room to end", std::string(64, 'e'), false, false},
		{"backslash", S("a\\b\0"), true, false},
		{"slash", S("a/b\0"), true, false},
		{"drive colon", S("c:x\0"), true, false},
		{"leading backslash", S("\\x\0"), true, false},
		{"dot", S(".\0"), true, false},
		{"dot dot", S("..\0"), true, false},
		{"up and out", S("..\\x\0"), true, false},
		{"double-byte character ending in 0x5C", S("\x95\x5C\0"), true,
		 false},
		{"null device", S("NUL\0"), true, false},
		{"device in any case", S("nUl\0"), true, false},
		{"device with an extension", S("nul.x\0"), true, false},
		{"device, blanks before the dot", S("CON  .x\0"), true, false},
		{"printer", S("prn\0"), true, false},
		{"aux", S("AUX\0"), true, false},
		{"console input", S("conin$\0"), true, false},
		{"serial port", S("COM1\0"), true, false},
		{"printer port", S("lpt9\0"), true, false},
		{"superscript one", S("COM\xB9\0"), true, false},
		{"longer than a device", S("NULL\0"), true, true},
		{"device name inside", S("xnul\0"), true, true},
		{"COM alone", S("COM\0"), true, true},
		{"COM and two digits", S("COM10\0"), true, true},
		{"LPT and a letter", S("LPTa\0"), true, true},
		{"device after the dot", S("mail.nul\0"), true, true},
	};
	for (const auto &r : rows) {
		std::string buf = answer(r.delivered);
		EXPECT_EQ(r.answer, is_answer(buf.data(), buf.size())) << r.name;
		EXPECT_EQ(r.entry, is_entry_name(buf.data(), buf.size())) << r.name;
	}
	EXPECT_FALSE(is_answer("", 0));
}

TEST(MailFile, ComposePath)
{
	const std::string dir250 = "C:\\" + std::string(246, 'd') + "\\";
	const struct {
		const char *name;
		std::string dir, entry;
		size_t size;
		bool fits;
		std::string path;
	} rows[] = {
		{"nothing between", "C:\\box", "e1", PATH_SIZE, true,
		 "C:\\boxe1.wml"},
		{"directory as given", "C:\\box\\", "dry00001", PATH_SIZE, true,
		 "C:\\box\\dry00001.wml"},
		{"259 characters fit", dir250, "abcde", PATH_SIZE, true,
		 dir250 + "abcde.wml"},
		{"260 do not", dir250, "abcdef", PATH_SIZE, false, ""},
		{"far too long", dir250, std::string(63, 'e'), PATH_SIZE, false, ""},
		{"size 1", "", "", 1, false, ""},
	};
	for (const auto &r : rows) {
		char buf[PATH_SIZE + 16];

		memset(buf, UNFILLED, sizeof buf);
		EXPECT_EQ(r.fits, compose_mail_path(buf, r.size, r.dir.c_str(),
		          r.entry.c_str())) << r.name;
		EXPECT_EQ(r.path, buf) << r.name;
		for (size_t i = r.size; i < sizeof buf; i++)
			ASSERT_EQ(UNFILLED, buf[i]) << r.name << ": byte " << i;
	}
	EXPECT_FALSE(compose_mail_path(NULL, 0, "C:\\", "e"));
}

// The mailbox directory is a prefix: what it ends in becomes the start of
// the new mail file's name.
TEST(MailFile, DevicePaths)
{
	const struct {
		const char *path;
		bool device;
	} rows[] = {
		{"C:\\box\\dry00001.wml", false},
		{"C:\\box\\NUL.dry00001.wml", true},
		{"C:\\box\\nul.x.e1.wml", true},
		{"C:\\box\\CON  .e1.wml", true},
		{"C:\\box\\COM1.e1.wml", true},
		{"C:\\box\\NUL:e1.wml", true},
		{"C:/box/aux.e1.wml", true},
		{"C:NUL.wml", true},
		{"NUL.wml", true},
		{"C:\\NUL\\e1.wml", false},
		{"C:\\box\\NUL e1.wml", false},
		{"C:\\box\\NULe1.wml", false},
		{"C:\\box\\xNUL.e1.wml", false},
		{"C:e1.wml", false},
		{"", false},
	};
	for (const auto &r : rows)
		EXPECT_EQ(r.device, is_device_path(r.path)) << r.path;
}
