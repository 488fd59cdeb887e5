#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "command.h"

// Runs one formatter into a buffer of the real command size.
struct Case {
	const char *name;
	bool (*format)(char *, size_t);
	const char *expected;
};

static const char FOLDER[] = "\x91\x97\x90\x4D\x94\xA0";

static const Case cases[] = {
	{"mark mail unsigned 16 bit",
	 [](char *b, size_t n) { return format_mark_mail(b, n, "x", 65535, 0); },
	 "[MarkMail(x,65535,0)]"},
	{"mark mail null text",
	 [](char *b, size_t n) { return format_mark_mail(b, n, nullptr, 1, 2); },
	 "[MarkMail(,1,2)]"},
	{"delete mail null",
	 [](char *b, size_t n) { return format_delete_mail(b, n, nullptr); },
	 "[DeleteMail()]"},
	{"delete mail with comma and paren",
	 [](char *b, size_t n) { return format_delete_mail(b, n, "a,b)c"); },
	 "[DeleteMail(a,b)c)]"},
	{"move mail null folder",
	 [](char *b, size_t n) { return format_move_mail(b, n, "a", nullptr); },
	 "[MoveMail(a,)]"},
	{"move mail both null",
	 [](char *b, size_t n) { return format_move_mail(b, n, nullptr, nullptr); },
	 "[MoveMail(,)]"},
	{"insert mail outbox bytes",
	 [](char *b, size_t n) { return format_insert_mail(b, n, "e1", FOLDER, 49); },
	 "[InsertMail(e1,\x91\x97\x90\x4D\x94\xA0,49)]"},
	{"insert mail nulls",
	 [](char *b, size_t n) { return format_insert_mail(b, n, nullptr, nullptr, -5); },
	 "[InsertMail(,,-5)]"},
	{"set online minus one",
	 [](char *b, size_t n) { return format_set_online(b, n, -1); },
	 "[SetOnline(-1)]"},
	{"set online int min",
	 [](char *b, size_t n) { return format_set_online(b, n, -2147483647 - 1); },
	 "[SetOnline(-2147483648)]"},
	{"retreive zero",
	 [](char *b, size_t n) { return format_retreive(b, n, 0); },
	 "[Retreive(0)]"},
	{"retreive negative",
	 [](char *b, size_t n) { return format_retreive(b, n, -7); },
	 "[Retreive(-7)]"},
	{"reload profile",
	 [](char *b, size_t n) { return format_reload_profile(b, n); },
	 "[ReloadProfile]"},
	{"change password null is (null)",
	 [](char *b, size_t n) { return format_change_password(b, n, nullptr, 3); },
	 "[ChangePassword((null),3)]"},
	{"change password text",
	 [](char *b, size_t n) { return format_change_password(b, n, "pw)]", -1); },
	 "[ChangePassword(pw)],-1)]"},
};

TEST(CommandFormat, Table)
{
	for (const Case &c : cases) {
		char buf[COMMAND_SIZE];
		memset(buf, 'Z', sizeof buf);
		EXPECT_TRUE(c.format(buf, sizeof buf)) << c.name;
		EXPECT_STREQ(c.expected, buf) << c.name;
	}
}

TEST(CommandFormat, ReloadFitsItsSmallBuffer)
{
	char buf[RELOAD_COMMAND_SIZE];
	ASSERT_TRUE(format_reload_profile(buf, sizeof buf));
	EXPECT_EQ(15u, strlen(buf));
}

// "[DeleteMail(" + text + ")]" is 14 characters of frame.
TEST(CommandFormat, LengthBoundary)
{
	struct {
		size_t text_len;
		bool fits;
	} const rows[] = {{241, true}, {242, false}, {300, false}};
	for (const auto &r : rows) {
		std::string text(r.text_len, 'a');
		char buf[COMMAND_SIZE + 8];
		memset(buf, 'Z', sizeof buf);
		bool ok = format_delete_mail(buf, COMMAND_SIZE, text.c_str());
		EXPECT_EQ(r.fits, ok) << r.text_len;
		if (ok)
			EXPECT_EQ(255u, strlen(buf));
		else
			EXPECT_STREQ("", buf) << "no cut command may remain";
		EXPECT_EQ('Z', buf[COMMAND_SIZE]) << "wrote past the buffer";
	}
}

TEST(CommandFormat, EveryTextFormatRefusesOverlongText)
{
	std::string big(COMMAND_SIZE, 'q');
	const char *t = big.c_str();
	char buf[COMMAND_SIZE];
	EXPECT_FALSE(format_mark_mail(buf, sizeof buf, t, 1, 1));
	EXPECT_FALSE(format_move_mail(buf, sizeof buf, "a", t));
	EXPECT_FALSE(format_insert_mail(buf, sizeof buf, t, "b", 49));
	EXPECT_FALSE(format_change_password(buf, sizeof buf, t, 1));
	EXPECT_FALSE(format_retreive(buf, 5, 0)) << "too small a buffer";
	EXPECT_FALSE(format_retreive(buf, 0, 0));
}
