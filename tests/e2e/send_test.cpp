#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>

#include "harness.h"

static const char USAGE[] =
	"Usage TwnSend [File Name]\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n"
	"    3 : Can't Find Mail File\n"
	"    4 : Can't Create New Mail\n"
	"    5 : Can't Get New Mail Entry\n";

// The outbox folder's six bytes as the record shows them, and 49.
static const char INSERT_TAIL[] = ",\\x91\\x97\\x90M\\x94\\xA0,49)]\\x00";

static const char MAIL[] = "Subject: test\n\nbody\n";

static std::string entry_line(const std::string &entry)
{
	return "entry " + entry + "\n";
}

static std::string fname_line(const std::string &path)
{
	return "fname " + path + "\n";
}

static std::string entry_event(const std::string &answer)
{
	return "request NewEntryName -> " + answer;
}

static std::string mailbox_event(const std::string &answer)
{
	return "request MailBox -> " + answer;
}

static std::string insert_event(const std::string &entry)
{
	return "execute [InsertMail(" + entry + INSERT_TAIL;
}

// The record of a whole successful run.
static std::vector<std::string> sent(const std::string &entry,
                                     const std::string &mailbox)
{
	return {entry_event(entry), mailbox_event(escaped(mailbox)),
	        insert_event(entry)};
}

static std::string fresh_entry(unsigned serial)
{
	char name[16];

	snprintf(name, sizeof name, "dry%05u", serial);
	return name;
}

// One run of TwnSend against a client that answers MailBox with `box`
// unless the row answers it itself.
struct Row {
	const char *name;
	bool client;   // whether the dry-run client runs at all
	Args options;  // further options for it
	Args args;
	std::vector<File> before; // put into box before the run
	DWORD code;
	std::string err;
	std::vector<std::string> events;
	std::vector<File> after; // all that box holds after the run
};

static void check_row(const Row &r, const std::string &box)
{
	Client client;
	Args options = {"--answer", "MailBox=" + escaped(box)};

	options.insert(options.end(), r.options.begin(), r.options.end());
	empty_dir(box);
	for (const File &f : r.before)
		put_file(box + f.name, f.bytes);
	if (r.client) {
		ASSERT_TRUE(client_start(&client, options)) << r.name;
	}
	Result res = run("TwnSend", r.args, r.code);
	EXPECT_EQ(r.code, res.code) << r.name;
	EXPECT_EQ("", res.out) << r.name;
	EXPECT_EQ(console_text(r.err), res.err) << r.name;
	if (r.client) {
		// A client told to go away is let go first, so that nothing it
		// still records is missed.
		if (std::find(r.options.begin(), r.options.end(), "--exit-after") !=
		    r.options.end()) {
			EXPECT_EQ(WAIT_OBJECT_0,
			          WaitForSingleObject(client.process, 10000)) << r.name;
		}
		EXPECT_EQ(r.events, client_events(&client)) << r.name;
	}
	EXPECT_EQ(r.after, files_in(box)) << r.name;
	client_stop(&client);
	empty_dir(box);
}

TEST(TwnSend, CopiesInTextModeAndInserts)
{
	const std::string dir = scratch("copies");
	const std::string mail = dir + "mail.txt";
	std::string many, many_out;
	for (int i = 0; i < 4000; i++) {
		many += std::string(99, (char)('a' + i % 26)) + "\n";
		many_out += std::string(99, (char)('a' + i % 26)) + "\r\n";
	}
	const struct {
		const char *name;
		std::string in, out;
		Args more; // arguments after the mail file
	} rows[] = {
		{"LF alone becomes CR LF", "a\nb\n", "a\r\nb\r\n", {}},
		{"CR LF stays", "a\r\nb\r\n", "a\r\nb\r\n", {}},
		{"lone CR and CR last stay", "a\rb\r", "a\rb\r", {}},
		{"CR CR LF", "a\r\r\n", "a\r\r\n", {}},
		{"ends at the first Ctrl-Z", "ab\r\x1A" "cd\n", "ab\r", {}},
		{"0x00 and double-byte text pass",
		 std::string("\x91\x97\x90\x4D\x94\xA0\0\x95\x5C\n", 10),
		 std::string("\x91\x97\x90\x4D\x94\xA0\0\x95\x5C\r\n", 11), {}},
		{"empty mail", "", "", {}},
		{"400 KB over many blocks", many, many_out, {}},
		{"a second argument is ignored", MAIL, console_text(MAIL),
		 {"C:\\no\\such\\file"}},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	empty_dir(client.mailbox);
	unsigned serial = 0;
	for (const auto &r : rows) {
		std::string entry = fresh_entry(++serial);
		std::string path = client.mailbox + entry + ".wml";
		Args args = {put_file(mail, r.in)};

		args.insert(args.end(), r.more.begin(), r.more.end());
		Result res = run("TwnSend", args, 0);
		EXPECT_EQ(0u, res.code) << r.name;
		EXPECT_EQ("", res.out) << r.name;
		EXPECT_EQ(console_text(entry_line(entry) + fname_line(path)),
		          res.err) << r.name;
		EXPECT_EQ(sent(entry, client.mailbox), client_events(&client))
			<< r.name;
		std::string got = file_bytes(path);
		EXPECT_TRUE(r.out == got) << r.name << ": " << got.size()
		                          << " bytes, " << r.out.size() << " expected";
		EXPECT_TRUE(r.in == file_bytes(mail)) << r.name << ": mail touched";
		DeleteFileA(path.c_str());
	}
	client_stop(&client);
}

TEST(TwnSend, ExitCodesAndTheirOrder)
{
	const std::string dir = scratch("order");
	const std::string box = scratch("order\\box");
	const std::string mail = put_file(dir + "mail.txt", MAIL);
	const std::string missing = dir + "missing.txt";
	const std::string entry = fresh_entry(1);
	const Row rows[] = {
		{"no argument, no client", false, {}, {}, {}, 1, USAGE, {}, {}},
		{"no client beats a missing file", false, {}, {missing}, {}, 2, "",
		 {}, {}},
		{"no client, mail file there", false, {}, {mail}, {}, 2, "", {},
		 {}},
		{"no client, empty argument", false, {}, {""}, {}, 2, "", {}, {}},
		{"no argument, client running", true, {}, {}, {}, 1, USAGE, {}, {}},
		{"missing file: client not asked", true, {}, {missing}, {}, 3, "",
		 {}, {}},
		{"empty argument", true, {}, {""}, {}, 3, "", {}, {}},
		{"a directory is no mail file", true, {}, {dir}, {}, 3, "", {}, {}},
		{"missing file beats a refused conversation", true,
		 {"--refuse-connect"}, {missing}, {}, 3, "", {}, {}},
		{"refused conversation: no progress line", true,
		 {"--refuse-connect"}, {mail}, {}, 5, "", {"conversation refused"},
		 {}},
		{"window without DDE service", true, {"--no-dde"}, {mail}, {}, 5,
		 "", {}, {}},
		{"entry failure beats creation failure", true,
		 {"--mode", "NewEntryName=refuse", "--answer",
		  "MailBox=" + escaped(box + "missing\\")},
		 {mail}, {}, 5, "", {entry_event("refused")}, {}},
		{"all well", true, {}, {mail}, {}, 0,
		 entry_line(entry) + fname_line(box + entry + ".wml"),
		 sent(entry, box), {{entry + ".wml", console_text(MAIL)}}},
	};
	for (const Row &r : rows)
		check_row(r, box);
}

// Whatever the client answers, nothing is printed, created or inserted
// unless the answer is a terminated name for a file inside the mailbox.
TEST(TwnSend, EntryNameAnswers)
{
	const std::string dir = scratch("entry");
	const std::string box = scratch("entry\\box");
	const std::string mail = put_file(dir + "mail.txt", MAIL);
	const std::string e63(63, 'e'), e64(64, 'e');
	const struct {
		const char *name;
		Args options;
		std::string shown; // the answer as the record shows it
	} refused[] = {
		{"refused", {"--mode", "NewEntryName=refuse"}, "refused"},
		{"no answer in time", {"--mode", "NewEntryName=hang"}, "no answer"},
		{"no terminator", {"--answer", "NewEntryName=dry1", "--mode",
		 "NewEntryName=noterm"}, "dry1 (no terminator)"},
		{"empty", {"--answer", "NewEntryName="}, ""},
		{"64 characters: no room to end", {"--answer", "NewEntryName=" + e64},
		 e64},
		{"backslash", {"--answer", "NewEntryName=a\\\\b"}, "a\\\\b"},
		{"slash", {"--answer", "NewEntryName=a/b"}, "a/b"},
		{"drive colon", {"--answer", "NewEntryName=c:x"}, "c:x"},
		{"dot", {"--answer", "NewEntryName=."}, "."},
		{"dot dot", {"--answer", "NewEntryName=.."}, ".."},
		{"up and out", {"--answer", "NewEntryName=..\\\\out"},
		 "..\\\\out"},
		{"null device: the mail would be lost",
		 {"--answer", "NewEntryName=NUL"}, "NUL"},
		{"serial port", {"--answer", "NewEntryName=com1.x"}, "com1.x"},
	};
	for (const auto &r : refused)
		check_row({r.name, true, r.options, {mail}, {}, 5, "",
		           {entry_event(r.shown)}, {}}, box);
	check_row({"63 characters", true, {"--answer", "NewEntryName=" + e63},
	           {mail}, {}, 0, entry_line(e63) + fname_line(box + e63 + ".wml"),
	           sent(e63, box), {{e63 + ".wml", console_text(MAIL)}}}, box);
}

TEST(TwnSend, MailboxAnswersAndCreation)
{
	const std::string dir = scratch("mailbox");
	const std::string box = scratch("mailbox\\box");
	const std::string mail = put_file(dir + "mail.txt", MAIL);
	const std::string entry = fresh_entry(1);
	const std::string just_entry = entry_line(entry);
	const std::string both = just_entry + fname_line(box + entry + ".wml");
	const std::string shown_box = escaped(box);
	// 250 characters: with "dry00001.wml" 262, more than a path holds.
	const std::string long_dir = "C:\\" + std::string(246, 'd') + "\\";
	const std::string dir260 = "C:\\" + std::string(257, 'd');
	const std::string self = box + "self.wml";
	const Row rows[] = {
		{"refused", true, {"--mode", "MailBox=refuse"}, {mail}, {}, 4,
		 just_entry, {entry_event(entry), mailbox_event("refused")}, {}},
		{"no answer in time", true, {"--mode", "MailBox=hang"}, {mail}, {},
		 4, just_entry, {entry_event(entry), mailbox_event("no answer")},
		 {}},
		{"no terminator", true, {"--mode", "MailBox=noterm"}, {mail}, {}, 4,
		 just_entry,
		 {entry_event(entry), mailbox_event(shown_box + " (no terminator)")},
		 {}},
		{"empty", true, {"--answer", "MailBox="}, {mail}, {}, 4, just_entry,
		 {entry_event(entry), mailbox_event("")}, {}},
		{"260 characters: no room to end", true,
		 {"--answer", "MailBox=" + escaped(dir260)}, {mail}, {}, 4,
		 just_entry, {entry_event(entry), mailbox_event(escaped(dir260))},
		 {}},
		{"path longer than 259", true,
		 {"--answer", "MailBox=" + escaped(long_dir)}, {mail}, {}, 4,
		 just_entry, {entry_event(entry), mailbox_event(escaped(long_dir))},
		 {}},
		{"directory missing", true,
		 {"--answer", "MailBox=" + escaped(box + "missing\\")}, {mail}, {},
		 4, just_entry + fname_line(box + "missing\\" + entry + ".wml"),
		 {entry_event(entry), mailbox_event(escaped(box + "missing\\"))},
		 {}},
		{"a file of that name is emptied and written", true,
		 {"--answer", "NewEntryName=taken"}, {mail},
		 {{"taken.wml", "an older and longer text"}}, 0,
		 entry_line("taken") + fname_line(box + "taken.wml"),
		 sent("taken", box), {{"taken.wml", console_text(MAIL)}}},
		{"the dry-run client skips names already in its mailbox", true, {},
		 {mail}, {{entry + ".wml", "old"}}, 0,
		 entry_line(fresh_entry(2)) +
		 fname_line(box + fresh_entry(2) + ".wml"),
		 sent(fresh_entry(2), box),
		 {{entry + ".wml", "old"},
		  {fresh_entry(2) + ".wml", console_text(MAIL)}}},
		{"the mail file itself is never emptied", true,
		 {"--answer", "NewEntryName=self"}, {self}, {{"self.wml", MAIL}}, 4,
		 entry_line("self") + fname_line(self),
		 {entry_event("self"), mailbox_event(shown_box)},
		 {{"self.wml", MAIL}}},
		{"client gone after the entry name", true,
		 {"--exit-after", "NewEntryName"}, {mail}, {}, 4, just_entry,
		 {entry_event(entry), "closing after NewEntryName"}, {}},
		{"client gone before the insert: mail removed", true,
		 {"--exit-after", "MailBox"}, {mail}, {}, 2, both,
		 {entry_event(entry), mailbox_event(shown_box),
		  "closing after MailBox"}, {}},
	};
	for (const Row &r : rows)
		check_row(r, box);
	EXPECT_EQ(MAIL, file_bytes(mail));
}

// X: is a 1 MiB tmpfs and Y: a read-only one, both set up around the test
// run (scratch_drives.sh).
TEST(TwnSend, FailingDisks)
{
	ULARGE_INTEGER total;
	if (!GetDiskFreeSpaceExA("X:\\", NULL, &total, NULL) ||
	    total.QuadPart > 2 << 20 ||
	    !GetDiskFreeSpaceExA("Y:\\", NULL, &total, NULL))
		GTEST_SKIP() << "no scratch drives X: and Y: (small tmpfs mounts "
		                "that need root to set up)";
	const std::string dir = scratch("disks");
	const std::string small = put_file(dir + "small.txt", MAIL);
	const std::string big = put_file(dir + "big.txt",
	                                 std::string(2 << 20, 'm'));
	const std::string entry = fresh_entry(1);
	const std::string x = "X:\\", y = "Y:\\";
	const Row full[] = {
		{"disk full during the copy", true, {}, {big}, {}, 4,
		 entry_line(entry) + fname_line(x + entry + ".wml"),
		 {entry_event(entry), mailbox_event(escaped(x))}, {}},
		{"a small mail fits the same disk", true, {}, {small}, {}, 0,
		 entry_line(entry) + fname_line(x + entry + ".wml"), sent(entry, x),
		 {{entry + ".wml", console_text(MAIL)}}},
	};
	for (const Row &r : full)
		check_row(r, x);
	check_row({"read-only mailbox directory", true, {}, {small}, {}, 4,
	           entry_line(entry) + fname_line(y + entry + ".wml"),
	           {entry_event(entry), mailbox_event(escaped(y))}, {}}, y);
}
