// Bad input and faults, a table of rows for every tool. Each row runs the
// tool once against a dry-run client of its own, started with the row's
// options, and checks the full exit code (a crash such as 0xC0000005 can
// never pass), the exact output, every event the client saw and all that
// its mailbox directory holds afterwards.
//
// Each tool's own test already holds, and this table does not repeat: the
// empty argument, an argument that is exactly a keyword, the client or
// send editor not running, the client without its mail list levels,
// template box or signature box; for TwnRetr the refused conversation and
// the window without DDE service; for TwnSend the refused conversation,
// the window without DDE service, answers refused, not given in time,
// empty, without terminator, of 63, 64 and 260 characters, a mailbox
// directory that is not there, and the client gone after either request.
#include <gtest/gtest.h>

#include "TwnDry.h"
#include "harness.h"

struct FaultRow {
	std::string what;
	Args client; // the dry-run client's options
	Args args;
	DWORD code;
	std::vector<std::string> events;
	std::string err = "";           // as written, before CR LF
	std::vector<File> mailbox = {}; // the mailbox directory afterwards
};

// Every client answers MailBox with this directory unless a row answers
// it otherwise; it is emptied (and made again) before each row.
static std::string mailbox_dir()
{
	return scratch("mailbox");
}

static void check_table(const char *tool, const std::vector<FaultRow> &rows)
{
	const std::string box = mailbox_dir();

	for (const FaultRow &r : rows) {
		std::string name = std::string(tool) + ": " + r.what;
		Args options = {"--answer", "MailBox=" + escaped(box)};
		Client client;

		options.insert(options.end(), r.client.begin(), r.client.end());
		CreateDirectoryA(box.c_str(), NULL);
		empty_dir(box);
		ASSERT_TRUE(client_start(&client, options)) << name;
		Result res = run(tool, r.args, r.code);
		EXPECT_EQ(r.code, res.code) << name << std::hex << " (0x"
		                            << res.code << ")";
		EXPECT_EQ("", res.out) << name;
		EXPECT_EQ(console_text(r.err), res.err) << name;
		EXPECT_EQ(r.events, client_events(&client)) << name;
		EXPECT_EQ(r.mailbox, files_in(box)) << name;
		client_stop(&client);
	}
	empty_dir(box);
}

// A command line holds at most 32767 characters, its terminator
// included, so an argument of 1 MiB cannot be given: this is the longest
// one that the line still carries after the program's quoted path, as
// the harness writes it, and the arguments `before`. It is `head`, then
// `fill` as often as there is room, then `tail`.
enum { COMMAND_LINE_MAX = 32767 - 1 };

static std::string longest(const char *tool, const Args &before,
                           const std::string &head, char fill,
                           const std::string &tail = "")
{
	size_t used = quote_arg(program_path(tool)).size() + 1;
	std::string arg;

	for (const std::string &a : before)
		used += quote_arg(a).size() + 1;
	arg = head + std::string(COMMAND_LINE_MAX - used - head.size() -
	                         tail.size(), fill) + tail;
	// Quotes around an argument with blanks take room as well.
	arg.erase(head.size(), quote_arg(arg).size() - arg.size());
	return arg;
}

// With one more character than longest() gives, the program is not even
// started: the rows below do reach the limit.
TEST(Faults, LongestArgumentIsTheLimit)
{
	Result res = run("TwnWin", {longest("TwnWin", {}, "", 'x') + "x"});
	EXPECT_EQ(ANY_CODE, res.code) << std::hex << res.code;
}

static std::string high_bytes(int first = 0x80, int last = 0xFF)
{
	std::string s;
	for (int c = first; c <= last; c++)
		s += (char)c;
	return s;
}

// A double-byte character split by the keyword's length. 0x83 is a lead
// byte in the Japanese code page, and its trail bytes include the ASCII
// letters; the keyword test compares bytes whatever the code page, so
// neither the keyword's first letters followed by a lead byte, with or
// without the keyword's last letter as its trail byte, nor a keyword
// that begins with a trail byte matches, while a keyword followed by a
// lead byte does. `after` are the arguments after the keyword.
static void add_split_rows(std::vector<FaultRow> *rows, const Args &client,
                           const std::string &keyword, const Args &after,
                           const std::vector<std::string> &matched)
{
	const std::string start = keyword.substr(0, keyword.size() - 1);
	const struct {
		const char *what;
		std::string arg;
		bool match;
	} split[] = {
		{"keyword's first letters, then a lead byte", start + "\x83", false},
		{"lead byte with the keyword's last letter as trail byte",
		 start + "\x83" + keyword.back(), false},
		{"keyword, then a lead byte", keyword + "\x83", true},
		{"lead byte with the keyword's first letter as trail byte",
		 "\x83" + keyword, false},
	};
	for (const auto &s : split) {
		Args args = after;
		args.insert(args.begin(), s.arg);
		rows->push_back({keyword + ": " + s.what, client, args,
		                 s.match ? 0ul : 1ul,
		                 s.match ? matched : std::vector<std::string>{}});
	}
}

static const char *const R0 = "execute [Retreive(0)]\\x00";
static const char *const R1 = "execute [Retreive(1)]\\x00";

TEST(Faults, TwnRetr)
{
	check_table("TwnRetr", {
		{"empty", {}, {""}, 0, {R0}},
		{"longest, digits", {}, {longest("TwnRetr", {}, "", '1')}, 0, {}},
		{"longest, text", {}, {longest("TwnRetr", {}, "", 'a')}, 0, {R0}},
		{"longest, blanks then 1", {},
		 {longest("TwnRetr", {}, "", ' ', "1")}, 0, {R1}},
		{"bytes 0x80-0xFF", {}, {high_bytes()}, 0, {R0}},
		{"sign then high bytes", {}, {"-\xFF" "1"}, 0, {R0}},
		// Only the ASCII digits and white space count, whatever the
		// locale would call a digit or a blank.
		{"superscript one", {}, {"\xB9"}, 0, {R0}},
		{"1 then superscript two", {}, {"1\xB2"}, 0, {R1}},
		{"no-break space then 1", {}, {"\xA0" "1"}, 0, {R0}},
	});
}

static const char MAIL[] = "Subject: test\n\nbody\n";
static const char ENTRY[] = "request NewEntryName -> dry00001";
static const char INSERT[] =
	"execute [InsertMail(dry00001,\\x91\\x97\\x90M\\x94\\xA0,49)]\\x00";

TEST(Faults, TwnSend)
{
	const std::string box = mailbox_dir();
	const std::string mailbox = "request MailBox -> " + escaped(box);
	const std::string dir = scratch("mail");
	const std::string mail = put_file(dir + "mail.txt", MAIL);
	const std::string high_mail = put_file(dir + high_bytes(), MAIL);
	const std::string progress = "entry dry00001\nfname " + box +
	                             "dry00001.wml\n";
	const std::string e63(63, 'e'), e64(64, 'e'), e65(65, 'e');
	const std::string d259 = "C:\\" + std::string(256, 'd');
	const std::string d260 = d259 + "d", d261 = d260 + "d";
	auto answer = [](const char *item, const std::string &text) {
		return Args{"--answer", std::string(item) + "=" + escaped(text)};
	};
	auto noterm = [](const char *item, const std::string &text) {
		return Args{"--answer", std::string(item) + "=" + escaped(text),
		            "--mode", std::string(item) + "=noterm"};
	};
	auto asked = [](const char *item, const std::string &text,
	                const char *note = "") {
		return "request " + std::string(item) + " -> " + escaped(text) + note;
	};
	const char *const cut = " (no terminator)";
	check_table("TwnSend", {
		{"longest file name: the client is not asked", {},
		 {longest("TwnSend", {}, "", 'm')}, 3, {}},
		{"no file named in bytes 0x80-0xFF", {}, {high_bytes()}, 3, {}},
		{"a mail file named in bytes 0x80-0xFF", {}, {high_mail}, 0,
		 {ENTRY, mailbox, INSERT}, progress,
		 {{"dry00001.wml", console_text(MAIL)}}},
		// The entry name's buffer holds 64 bytes, the terminator included.
		{"entry name of 65 characters", answer("NewEntryName", e65), {mail},
		 5, {asked("NewEntryName", e65)}},
		{"entry name of 63 bytes, no terminator", noterm("NewEntryName", e63),
		 {mail}, 5, {asked("NewEntryName", e63, cut)}},
		{"entry name of 64 bytes, no terminator", noterm("NewEntryName", e64),
		 {mail}, 5, {asked("NewEntryName", e64, cut)}},
		// The mailbox directory's buffer holds 260: 259 characters fit,
		// but then no path of a new mail file does.
		{"mailbox of 259 characters", answer("MailBox", d259), {mail}, 4,
		 {ENTRY, asked("MailBox", d259)}, "entry dry00001\n"},
		{"mailbox of 261 characters", answer("MailBox", d261), {mail}, 4,
		 {ENTRY, asked("MailBox", d261)}, "entry dry00001\n"},
		{"mailbox of 259 bytes, no terminator", noterm("MailBox", d259),
		 {mail}, 4, {ENTRY, asked("MailBox", d259, cut)}, "entry dry00001\n"},
		{"mailbox of 260 bytes, no terminator", noterm("MailBox", d260),
		 {mail}, 4, {ENTRY, asked("MailBox", d260, cut)}, "entry dry00001\n"},
		{"mailbox directory removed before the copy", {"--remove-mailbox"},
		 {mail}, 4, {ENTRY, mailbox, "mailbox directory removed"}, progress},
		// The new mail file would be NUL.dry01000.wml, the null device.
		// There every name looks taken to the dry-run client, which
		// hands out its 1000th.
		{"mailbox ending in a device name", answer("MailBox", box + "NUL."),
		 {mail}, 4, {"request NewEntryName -> dry01000",
		             asked("MailBox", box + "NUL.")}, "entry dry01000\n"},
	});
	EXPECT_EQ(MAIL, file_bytes(mail));
	EXPECT_EQ(MAIL, file_bytes(high_mail));
}

TEST(Faults, TwnCmd)
{
	const char *const VIEW = "open mail view (message 1145, wParam 3)";
	const char *const DUST = "empty dust box (WM_COMMAND 104)";
	std::vector<FaultRow> rows = {
		{"longest, no keyword", {}, {longest("TwnCmd", {}, "", 'x')}, 1, {}},
		{"longest, a keyword first", {},
		 {longest("TwnCmd", {}, "dust", 'x')}, 0, {DUST}},
		{"bytes 0x80-0xFF", {}, {high_bytes()}, 1, {}},
		// The window tools do not use the client's DDE service nor, these
		// two, its child windows.
		{"window without DDE service", {"--no-dde"}, {"view"}, 0, {VIEW}},
		{"main window without children", {"--list-levels", "0"}, {"dust"}, 0,
		 {DUST}},
	};
	add_split_rows(&rows, {}, "view", {}, {VIEW});
	check_table("TwnCmd", rows);
}

static std::vector<std::string> key(const char *name, const char *selected)
{
	return {std::string("mail list: key down ") + name,
	        std::string("mail list: selected ") + selected,
	        std::string("mail list: key up ") + name};
}

// Mail 2 is selected when the client starts.
TEST(Faults, TwnCur)
{
	const char *const CLEAR = "mail list: deselect all (LB_SETSEL 0, -1)";
	const char *const NONE = "mail list: selected none";
	std::vector<FaultRow> rows = {
		{"longest number: past the end", {},
		 {longest("TwnCur", {}, "", '9')}, 0,
		 {CLEAR, NONE,
		  "mail list: select 2147483647 (LB_SETSEL 1, 2147483647)"}},
		{"longest number, zeros then 7", {},
		 {longest("TwnCur", {}, "", '0', "7")}, 0,
		 {CLEAR, NONE, "mail list: select 7 (LB_SETSEL 1, 7)",
		  "mail list: selected 7"}},
		{"longest, no keyword", {}, {longest("TwnCur", {}, "", 'x')}, 1, {}},
		{"longest, a keyword first", {}, {longest("TwnCur", {}, "bot", 'x')},
		 0, key("VK_END", "11")},
		{"bytes 0x80-0xFF", {}, {high_bytes()}, 1, {}},
		// Only the ASCII digits are digits, whatever the locale says.
		{"superscript two", {}, {"\xB2"}, 1, {}},
		{"1 then superscript one", {}, {"1\xB9"}, 1, {}},
		{"window without DDE service", {"--no-dde"}, {"up"}, 0,
		 key("VK_UP", "1")},
	};
	add_split_rows(&rows, {}, "bot", {}, key("VK_END", "11"));
	check_table("TwnCur", rows);
}

// "Standard" is selected when the client starts.
TEST(Faults, TwnTmpl)
{
	const std::string name = longest("TwnTmpl", {}, "Weekly", 'x');
	check_table("TwnTmpl", {
		{"longest name, passed on whole", {}, {name}, 0,
		 {combo_asked("template", name)}},
		{"bytes 0x80-0xFF, passed on as they are", {}, {high_bytes()}, 0,
		 {combo_asked("template", high_bytes())}},
		{"window without DDE service", {"--no-dde"}, {"Thanks"}, 0,
		 {combo_asked("template", "Thanks"),
		  combo_picked("template", "Thanks")}},
		{"main window without children", {"--list-levels", "0"}, {"Thanks"},
		 0, {}},
	});
}

// The main window is shown in its normal state when the client starts.
TEST(Faults, TwnWin)
{
	const char *const HIDDEN = "main window: hidden";
	std::vector<FaultRow> rows = {
		{"longest, no keyword", {}, {longest("TwnWin", {}, "", 'x')}, 1, {}},
		{"longest, a keyword first", {}, {longest("TwnWin", {}, "max", 'x')},
		 0, {"main window: WM_SYSCOMMAND SC_MAXIMIZE, posted",
		     "main window: maximised"}},
		{"bytes 0x80-0xFF", {}, {high_bytes()}, 1, {}},
		{"window without DDE service", {"--no-dde"}, {"ic"}, 0,
		 {"main window: WM_SYSCOMMAND SC_MINIMIZE, posted",
		  "main window: minimised"}},
		{"main window without children", {"--list-levels", "0"}, {"hide"},
		 0, {HIDDEN}},
	};
	add_split_rows(&rows, {}, "hide", {}, {HIDDEN});
	check_table("TwnWin", rows);
}

static std::string shown(const std::string &title)
{
	return "mailbox " + dry_quoted(title) + ": shown";
}

// Titles are read into 128 bytes, so only their first 127 bytes count:
// mailbox windows titled with 127, 128 and 129 bytes, all above 0x7F but
// a first byte that tells them apart.
TEST(Faults, TwnBox)
{
	const std::string t127 = high_bytes(0x81, 0xFF);
	const std::string t128 = high_bytes();
	const std::string t129 = "9" + high_bytes();
	const Args titled = {"--mailbox-title", escaped(t127),
	                     "--mailbox-title", escaped(t128),
	                     "--mailbox-title", escaped(t129)};
	check_table("TwnBox", {
		{"127-byte title", titled, {t127}, 0, {shown(t127)}},
		{"128-byte title, bytes 0x80-0xFF", titled, {t128}, 3, {}},
		{"the 128-byte title's first 127 bytes", titled,
		 {t128.substr(0, 127)}, 0, {shown(t128)}},
		{"129-byte title", titled, {t129}, 3, {}},
		{"the 129-byte title's first 128 bytes", titled,
		 {t129.substr(0, 128)}, 3, {}},
		{"the 129-byte title's first 127 bytes", titled,
		 {t129.substr(0, 127)}, 0, {shown(t129)}},
		{"longest", titled, {longest("TwnBox", {}, "", 'x')}, 3, {}},
		{"window without DDE service", {"--no-dde"}, {"Inbox"}, 0,
		 {shown("Inbox")}},
	});
}

// "Private" is the selected signature when the send editor starts.
TEST(Faults, TiQCmd)
{
	const Args editor = {"--editor"};
	const char *const PENDING = "send editor: pending (WM_COMMAND 106)";
	const std::string name = longest("TiQCmd", {"sig"}, "Office", 'x');
	std::vector<FaultRow> rows = {
		{"longest, no keyword", editor, {longest("TiQCmd", {}, "", 'x')}, 1,
		 {}},
		{"longest, a keyword first", editor,
		 {longest("TiQCmd", {}, "pend", 'x')}, 0, {PENDING}},
		{"longest signature name, passed on whole", editor, {"sig", name}, 0,
		 {combo_asked("signature", name)}},
		{"bytes 0x80-0xFF", editor, {high_bytes()}, 1, {}},
		{"signature name of bytes 0x80-0xFF", editor, {"sig", high_bytes()},
		 0, {combo_asked("signature", high_bytes())}},
		{"client without DDE service", {"--editor", "--no-dde"}, {"send"}, 0,
		 {"send editor: send (WM_COMMAND 121)"}},
	};
	add_split_rows(&rows, editor, "pend", {}, {PENDING});
	add_split_rows(&rows, editor, "sig", {"Club"},
	               {combo_asked("signature", "Club"),
	                combo_picked("signature", "Club")});
	check_table("TiQCmd", rows);
}
