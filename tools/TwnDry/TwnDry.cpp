// TwnDry: a dry-run mail client. It answers to the kit's tools as the real
// client does (same window class, same DDE service and topic) and writes
// one line for everything a tool makes it do, to the console and, with
// --log, to a file that tests read.
//
// The client's names are spelled out here on purpose rather than taken
// from the kit's own constants: a wrong constant in the tools must show up
// as a test failure, not be shared by the client that tests them.
#include <windows.h>
#include <ddeml.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "TwnDry.h"

static const char USAGE[] =
	"Usage TwnDry [options]\n"
	"  --log FILE           append a line per event to FILE\n"
	"  --quiet              print nothing on the console\n"
	"  --answer ITEM=TEXT   answer the request ITEM with TEXT\n"
	"                       (\\xHH and \\\\ escapes allowed)\n"
	"  --mode ITEM=MODE     normal, noterm (no terminator sent),\n"
	"                       refuse, or hang (no answer within 1 s)\n"
	"  --refuse-connect     refuse every DDE conversation\n"
	"  --no-dde             run the window without the DDE service\n"
	"  --exit-after ITEM    answer the request ITEM, then close at once\n"
	"  --list-levels N      keep only N (0 to 3) of the three window levels\n"
	"                       down to the mail list; 0: no child windows\n"
	"  --no-template-box    run without the template box\n"
	"  --editor             also run the send editor window\n"
	"  --editor-no-box      the send editor without its signature box\n"
	"  --mailbox-title TEXT one more mailbox window, titled TEXT (\\xHH and\n"
	"                       \\\\ escapes; up to 8, of at most 255 bytes)\n"
	"  --remove-mailbox     remove the mailbox directory as the request\n"
	"                       MailBox is answered\n"
	"  ITEM is MailBox, NewEntryName, Version or Online.\n";

static const char MAIN_CLASS[] = "TiWren";
static const char DDE_NAME[] = "TiWren";

enum { WM_MARK = WM_APP + 1 };
// A request left unanswered is held back this long, well past the 1 s the
// tools wait, while the client goes on serving everything else.
enum { HANG_MS = 5000 };
enum { HANG_TIMER_ID = 1 };
enum { TEXT_SIZE = 1024 };
enum { LINE_SIZE = 4096 };
enum { ITEM_NAME_SIZE = 64 };

enum AnswerMode { ANSWER_NORMAL, ANSWER_NOTERM, ANSWER_REFUSE, ANSWER_HANG };

struct Item {
	const char *name;
	char text[TEXT_SIZE];
	int len;
	AnswerMode mode;
	bool given; // an answer was set on the command line
};

static Item items[] = {
	{"MailBox", "", 0, ANSWER_NORMAL, false},
	{"NewEntryName", "", 0, ANSWER_NORMAL, false},
	{"Version", "", 0, ANSWER_NORMAL, false},
	{"Online", "", 0, ANSWER_NORMAL, false},
};
enum { ITEM_COUNT = sizeof items / sizeof items[0] };

static FILE *log_file;
static bool quiet;
static bool refuse_connect;
static DWORD dde_inst;
static HSZ dde_service;
static unsigned entry_serial;
static HWND main_window;
static unsigned to_release;
static Item *exit_after;
static bool closing;
static bool shutting_down;
static bool remove_mailbox;

// Bytes 0x20..0x7E stand for themselves, everything else is escaped, so
// that a record line shows exactly the bytes that arrived.
static void escape(char *out, size_t size, const unsigned char *in, size_t n)
{
	size_t o = 0;

	for (size_t i = 0; i < n && o + 5 < size; i++) {
		if (in[i] == '\\') {
			out[o++] = '\\';
			out[o++] = '\\';
		} else if (in[i] >= 0x20 && in[i] < 0x7F) {
			out[o++] = (char)in[i];
		} else {
			o += snprintf(out + o, size - o, "\\x%02X", in[i]);
		}
	}
	out[o] = '\0';
}

static int hex_digit(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

// The reverse of escape(); returns the length, or -1 when out is too small.
static int unescape(char *out, size_t size, const char *in)
{
	size_t o = 0;

	while (*in) {
		if (o + 1 >= size)
			return -1;
		if (in[0] == '\\' && in[1] == '\\') {
			out[o++] = '\\';
			in += 2;
		} else if (in[0] == '\\' && in[1] == 'x' && hex_digit(in[2]) >= 0 &&
		           hex_digit(in[3]) >= 0) {
			out[o++] = (char)(hex_digit(in[2]) * 16 + hex_digit(in[3]));
			in += 4;
		} else {
			out[o++] = *in++;
		}
	}
	out[o] = '\0';
	return (int)o;
}

// A text in double quotes as escape() shows it. One longer than
// DRY_SHOWN_BYTES is cut there, and its whole length follows, so that a
// record line stays readable and still tells a whole text from a cut one.
static void quote_text(char *out, size_t size, const char *text)
{
	const size_t most = DRY_SHOWN_BYTES;
	size_t n = strlen(text);
	// Four characters a byte at most; escape() keeps room for one more
	// escape and the terminator.
	char body[4 * DRY_SHOWN_BYTES + 6];

	if (n <= most) {
		escape(body, sizeof body, (const unsigned char *)text, n);
		snprintf(out, size, "\"%s\"", body);
		return;
	}
	escape(body, sizeof body, (const unsigned char *)text, most);
	snprintf(out, size, "\"%s\"... (%llu bytes)", body, (unsigned long long)n);
}

static void record(const char *fmt, ...)
{
	char line[LINE_SIZE];
	va_list ap;

	va_start(ap, fmt);
	vsnprintf(line, sizeof line, fmt, ap);
	va_end(ap);
	if (!quiet) {
		printf("%s\n", line);
		fflush(stdout);
	}
	if (log_file) {
		fprintf(log_file, "%s\n", line);
		fflush(log_file);
	}
}

static Item *find_item(const char *name)
{
	for (int i = 0; i < ITEM_COUNT; i++)
		if (strcmp(items[i].name, name) == 0)
			return &items[i];
	return NULL;
}

static void set_text(Item *item, const char *text)
{
	snprintf(item->text, sizeof item->text, "%s", text);
	item->len = (int)strlen(item->text);
}

// The next name whose mail file is not in the mailbox yet. Wine hands out
// the same small process ids again, so a mailbox directory of an earlier
// run may already hold dry00001.wml and the like. A mailbox answer that
// ends in a device name ("...\NUL.") makes every name look taken: after
// ENTRY_TRIES names the last one is handed out all the same, rather than
// the search never ending and the client never answering again.
enum { ENTRY_TRIES = 1000 };

static void next_entry_name(char *name, size_t size)
{
	char path[MAX_PATH];

	for (int tries = 0; tries < ENTRY_TRIES; tries++) {
		snprintf(name, size, "dry%05u", ++entry_serial);
		snprintf(path, sizeof path, "%s%s.wml", find_item("MailBox")->text,
		         name);
		if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
			return;
	}
}

static HDDEDATA answer_request(HSZ topic_item, HSZ hsz_item, UINT fmt)
{
	char name[ITEM_NAME_SIZE];
	char shown[LINE_SIZE];
	Item *item;

	(void)topic_item;
	DdeQueryStringA(dde_inst, hsz_item, name, sizeof name, CP_WINANSI);
	item = find_item(name);
	if (!item || fmt != CF_TEXT) {
		record("request %s -> unknown item", name);
		return NULL;
	}
	if (item == find_item("NewEntryName") && item->mode == ANSWER_NORMAL &&
	    !item->given) {
		// No fixed entry name given: hand out fresh ones.
		char fresh[16];
		next_entry_name(fresh, sizeof fresh);
		escape(shown, sizeof shown, (unsigned char *)fresh, strlen(fresh));
		record("request %s -> %s", name, shown);
		return DdeCreateDataHandle(dde_inst, (LPBYTE)fresh,
		                           (DWORD)strlen(fresh) + 1, 0, hsz_item,
		                           CF_TEXT, 0);
	}
	switch (item->mode) {
	case ANSWER_REFUSE:
		record("request %s -> refused", name);
		return NULL;
	case ANSWER_HANG:
		if (to_release > 0) {
			to_release--;
			return NULL;
		}
		record("request %s -> no answer", name);
		SetTimer(main_window, HANG_TIMER_ID, HANG_MS, NULL);
		return CBR_BLOCK;
	default:
		break;
	}
	escape(shown, sizeof shown, (unsigned char *)item->text, item->len);
	record("request %s -> %s%s", name, shown,
	       item->mode == ANSWER_NOTERM ? " (no terminator)" : "");
	return DdeCreateDataHandle(dde_inst, (LPBYTE)item->text,
	                           item->len + (item->mode == ANSWER_NOTERM ? 0 : 1),
	                           0, hsz_item, CF_TEXT, 0);
}

// A mailbox directory that goes away while a tool uses it: removed right
// as the client names it, before the tool can write there.
static void drop_mailbox(const char *item)
{
	if (!remove_mailbox || strcmp(item, "MailBox") != 0)
		return;
	if (RemoveDirectoryA(find_item("MailBox")->text))
		record("mailbox directory removed");
	else
		record("mailbox directory not removed (error %lu)", GetLastError());
}

// A client that goes away in the middle of a tool's run: once the request
// is answered, no new conversation is accepted and the window closes,
// which ends the DDE service and the program.
static HDDEDATA answer_then_close(HSZ topic_item, HSZ hsz_item, UINT fmt)
{
	char name[ITEM_NAME_SIZE];
	HDDEDATA answer = answer_request(topic_item, hsz_item, fmt);

	DdeQueryStringA(dde_inst, hsz_item, name, sizeof name, CP_WINANSI);
	drop_mailbox(name);
	if (exit_after && find_item(name) == exit_after && !closing) {
		closing = true;
		record("closing after %s", name);
		PostMessageA(main_window, WM_CLOSE, 0, 0);
	}
	return answer;
}

// For a person watching: what the mail file of an inserted entry holds.
// Console only; the record keeps exactly what arrived.
static void show_new_mail(const unsigned char *command, DWORD n)
{
	static const char INSERT[] = "[InsertMail(";
	const size_t prefix = sizeof INSERT - 1;
	char entry[MAX_PATH], path[MAX_PATH], first[LINE_SIZE / 4] = "";
	const char *comma;
	FILE *f;
	long size;

	if (quiet || n <= prefix || memcmp(command, INSERT, prefix) != 0)
		return;
	comma = (const char *)memchr(command + prefix, ',', n - prefix);
	if (!comma || (size_t)(comma - (const char *)command) - prefix >=
	                  sizeof entry)
		return;
	snprintf(entry, sizeof entry, "%.*s",
	         (int)(comma - (const char *)command - prefix),
	         (const char *)command + prefix);
	snprintf(path, sizeof path, "%s%s.wml", find_item("MailBox")->text,
	         entry);
	f = fopen(path, "rb");
	if (!f) {
		printf("  (no mail file %s)\n", path);
		return;
	}
	fseek(f, 0, SEEK_END);
	size = ftell(f);
	rewind(f);
	if (fgets(first, sizeof first, f))
		first[strcspn(first, "\r\n")] = '\0';
	fclose(f);
	printf("  new mail file %s: %ld bytes, first line \"%s\"\n", path, size,
	       first);
	fflush(stdout);
}

static HDDEDATA record_execute(HDDEDATA data)
{
	static unsigned char bytes[TEXT_SIZE * 4];
	char shown[sizeof bytes * 4 + 1];
	DWORD n;

	n = DdeGetData(data, bytes, sizeof bytes, 0);
	escape(shown, sizeof shown, bytes, n);
	record("execute %s", shown);
	show_new_mail(bytes, n);
	return (HDDEDATA)DDE_FACK;
}

static HDDEDATA CALLBACK dde_callback(UINT type, UINT fmt, HCONV, HSZ hsz1,
                                      HSZ hsz2, HDDEDATA data, ULONG_PTR,
                                      ULONG_PTR)
{
	switch (type) {
	case XTYP_CONNECT:
		if (closing)
			return (HDDEDATA)FALSE;
		if (refuse_connect) {
			record("conversation refused");
			return (HDDEDATA)FALSE;
		}
		return (HDDEDATA)(DdeCmpStringHandles(hsz1, dde_service) == 0);
	case XTYP_REQUEST:
		return answer_then_close(hsz1, hsz2, fmt);
	case XTYP_EXECUTE:
		return record_execute(data);
	default:
		return NULL;
	}
}

static bool start_dde()
{
	if (DdeInitializeA(&dde_inst, dde_callback,
	                   APPCLASS_STANDARD | CBF_FAIL_POKES |
	                       CBF_FAIL_ADVISES | CBF_SKIP_ALLNOTIFICATIONS,
	                   0) != DMLERR_NO_ERROR)
		return false;
	dde_service = DdeCreateStringHandleA(dde_inst, DDE_NAME, CP_WINANSI);
	return dde_service && DdeNameService(dde_inst, dde_service, 0,
	                                     DNS_REGISTER);
}

static void stop_dde()
{
	if (!dde_inst)
		return;
	DdeNameService(dde_inst, dde_service, 0, DNS_UNREGISTER);
	DdeFreeStringHandle(dde_inst, dde_service);
	DdeUninitialize(dde_inst);
}

// The client's windows, which the window-message tools act on: the mail
// list, the template box and the mailbox windows below the main window,
// and, on request, the send editor. Each records what reaches it and how
// its state changes, in words a person can follow.

static const char PANE_CLASS[] = "TwnDryPane";
static const char EDITOR_CLASS[] = "TIQuilEditor";
enum { OPEN_VIEW_MESSAGE = WM_USER + 121 };
// The mail list is the third level below the main window, under two panes.
enum { FULL_LIST_LEVELS = 3, PANE_LEVELS = 2 };
enum { LABEL_SIZE = 1024, NOTE_SIZE = 48, SELECTION_SIZE = 128 };
enum { WATCH_MAX = 32 };
enum { MAIN_WIDTH = 640, MAIN_HEIGHT = 480, CHILD_WIDTH = 300,
       CHILD_HEIGHT = 200 };

static const char *const MAILS[DRY_MAIL_COUNT] = {
	"Welcome to TiWren", "Meeting on Monday", "Re: Meeting on Monday",
	"Invoice 2291", "Weekly report", "Lunch?", "Re: Lunch?",
	"Server maintenance", "Holiday photos", "Re: Invoice 2291",
	"Newsletter", "Password reminder",
};
static const char *const TEMPLATES[] = {
	"Standard", "Weekly report", "Weekly summary", "Meeting notes",
	"Thanks", "R\xE9union",
};
static const char *const SIGNATURES[] = {
	"Private", "Office", "Office short", "Club",
};

struct Name {
	LONG_PTR value;
	const char *name;
};

static const Name MAIN_COMMANDS[] = {
	{202, "reply view"},
	{203, "forward view"},
	{204, "delete mail"},
	{207, "move all mails to folder"},
	{104, "empty dust box"},
};
static const Name EDITOR_COMMANDS[] = {{121, "send"}, {106, "pending"}};
static const Name SYS_COMMANDS[] = {
	{SC_MINIMIZE, "SC_MINIMIZE"},
	{SC_RESTORE, "SC_RESTORE"},
	{SC_MAXIMIZE, "SC_MAXIMIZE"},
};
static const Name KEYS[] = {
	{VK_UP, "VK_UP"}, {VK_DOWN, "VK_DOWN"}, {VK_HOME, "VK_HOME"},
	{VK_END, "VK_END"},
};

enum EditorMode { EDITOR_NONE, EDITOR_WITH_BOX, EDITOR_WITHOUT_BOX };

static int list_levels = FULL_LIST_LEVELS;
static bool without_template_box;
static EditorMode editor_mode = EDITOR_NONE;
static WNDPROC list_original, combo_original;
static HWND template_box, signature_box;

// Windows whose display state is reported when it changes.
struct Watched {
	HWND hwnd;
	char label[LABEL_SIZE];
	const char *state;
};
static Watched watched[WATCH_MAX];
static int watched_count;

template <size_t N>
static const char *name_of(const Name (&names)[N], LONG_PTR value)
{
	for (const Name &n : names)
		if (n.value == value)
			return n.name;
	return NULL;
}

// What a record line adds to a message: its lParam unless it is the 0
// the tools send, and whether it was posted rather than sent from
// another program.
static void message_note(char *note, size_t size, LPARAM lp)
{
	const char *posted = InSendMessage() ? "" : ", posted";

	if (lp == 0)
		snprintf(note, size, "%s", posted);
	else
		snprintf(note, size, ", lParam %lld%s", (long long)lp, posted);
}

template <size_t N>
static void record_command(const char *who, const Name (&names)[N],
                           WPARAM wp, LPARAM lp)
{
	char note[NOTE_SIZE];
	const char *name = name_of(names, (LONG_PTR)wp);

	message_note(note, sizeof note, lp);
	record("%s%s (WM_COMMAND %lld%s)", who, name ? name : "unknown command",
	       (long long)wp, note);
}

static void record_request(UINT msg, WPARAM wp, LPARAM lp)
{
	char note[NOTE_SIZE];

	message_note(note, sizeof note, lp);
	record("%s (message %u, wParam %lld%s)",
	       msg == OPEN_VIEW_MESSAGE ? "open mail view" : "unknown request",
	       msg, (long long)wp, note);
}

static void record_syscommand(WPARAM wp, LPARAM lp)
{
	char note[NOTE_SIZE];
	const char *name = name_of(SYS_COMMANDS, (LONG_PTR)wp);

	message_note(note, sizeof note, lp);
	if (name)
		record("main window: WM_SYSCOMMAND %s%s", name, note);
	else
		record("main window: WM_SYSCOMMAND 0x%04llX%s", (long long)wp, note);
}

static const char *window_state(HWND hwnd)
{
	LONG style = GetWindowLongA(hwnd, GWL_STYLE);

	if (!(style & WS_VISIBLE))
		return "hidden";
	if (style & WS_MINIMIZE)
		return "minimised";
	if (style & WS_MAXIMIZE)
		return "maximised";
	return "shown";
}

static void watch(HWND hwnd, const char *label)
{
	Watched *w;

	if (watched_count == WATCH_MAX)
		return;
	w = &watched[watched_count++];
	w->hwnd = hwnd;
	snprintf(w->label, sizeof w->label, "%s", label);
	w->state = window_state(hwnd);
}

static void note_state(HWND hwnd)
{
	// Windows going away as the client closes are no news.
	if (shutting_down)
		return;
	for (int i = 0; i < watched_count; i++) {
		Watched *w = &watched[i];
		const char *state;

		if (w->hwnd != hwnd)
			continue;
		state = window_state(hwnd);
		if (strcmp(state, w->state) != 0) {
			w->state = state;
			record("%s: %s", w->label, state);
		}
		return;
	}
}

// "3, 7", or "none".
static void selection_text(HWND list, char *buf, size_t size)
{
	int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
	size_t o = 0;

	buf[0] = '\0';
	for (int i = 0; i < count; i++) {
		int n;

		if (SendMessageA(list, LB_GETSEL, i, 0) <= 0)
			continue;
		n = snprintf(buf + o, size - o, "%s%d", o ? ", " : "", i);
		if (n < 0 || (size_t)n >= size - o)
			break;
		o += n;
	}
	if (o == 0)
		snprintf(buf, size, "none");
}

static void record_list_message(UINT msg, WPARAM wp, LPARAM lp)
{
	char note[NOTE_SIZE], key[NOTE_SIZE];
	const char *name;

	if (msg == LB_SETSEL) {
		if (lp == -1)
			snprintf(key, sizeof key, "all");
		else
			snprintf(key, sizeof key, "%lld", (long long)lp);
		record("mail list: %s %s (LB_SETSEL %lld, %lld%s)",
		       wp ? "select" : "deselect", key, (long long)wp, (long long)lp,
		       InSendMessage() ? "" : ", posted");
		return;
	}
	if ((name = name_of(KEYS, (LONG_PTR)wp)))
		snprintf(key, sizeof key, "%s", name);
	else
		snprintf(key, sizeof key, "0x%02llX", (long long)wp);
	message_note(note, sizeof note, lp);
	record("mail list: key %s %s%s", msg == WM_KEYDOWN ? "down" : "up", key,
	       note);
}

static LRESULT CALLBACK list_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
	char before[SELECTION_SIZE], after[SELECTION_SIZE];
	LRESULT result;

	if (msg != WM_KEYDOWN && msg != WM_KEYUP && msg != LB_SETSEL)
		return CallWindowProcA(list_original, hwnd, msg, wp, lp);
	record_list_message(msg, wp, lp);
	selection_text(hwnd, before, sizeof before);
	result = CallWindowProcA(list_original, hwnd, msg, wp, lp);
	selection_text(hwnd, after, sizeof after);
	if (strcmp(before, after) != 0)
		record("mail list: selected %s", after);
	return result;
}

// The selected entry as `"text"`, or none.
static void combo_selection(HWND box, char *buf, size_t size)
{
	char text[TEXT_SIZE], shown[TEXT_SIZE];
	LRESULT index = CallWindowProcA(combo_original, box, CB_GETCURSEL, 0, 0);
	LRESULT len = CallWindowProcA(combo_original, box, CB_GETLBTEXTLEN,
	                              index, 0);

	if (index == CB_ERR || len == CB_ERR || len >= (LRESULT)sizeof text) {
		snprintf(buf, size, "none");
		return;
	}
	CallWindowProcA(combo_original, box, CB_GETLBTEXT, index, (LPARAM)text);
	escape(shown, sizeof shown, (const unsigned char *)text, strlen(text));
	snprintf(buf, size, "\"%s\"", shown);
}

static LRESULT CALLBACK combo_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
	const char *name = hwnd == template_box ? "template" : "signature";
	const char *text = (const char *)lp;
	char shown[TEXT_SIZE] = "", before[TEXT_SIZE], after[TEXT_SIZE];
	LRESULT result;

	if (msg != CB_SELECTSTRING)
		return CallWindowProcA(combo_original, hwnd, msg, wp, lp);
	if (text)
		quote_text(shown, sizeof shown, text);
	record("%s box: CB_SELECTSTRING %lld, %s", name, (long long)wp,
	       text ? shown : "(null)");
	combo_selection(hwnd, before, sizeof before);
	result = CallWindowProcA(combo_original, hwnd, msg, wp, lp);
	combo_selection(hwnd, after, sizeof after);
	if (strcmp(before, after) != 0)
		record("%s: %s", name, after);
	return result;
}

static LRESULT CALLBACK box_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
	if (msg == WM_WINDOWPOSCHANGED)
		note_state(hwnd);
	return DefWindowProcA(hwnd, msg, wp, lp);
}

static LRESULT CALLBACK editor_proc(HWND hwnd, UINT msg, WPARAM wp,
                                    LPARAM lp)
{
	if (msg == WM_COMMAND) {
		record_command("send editor: ", EDITOR_COMMANDS, wp, lp);
		return 0;
	}
	return DefWindowProcA(hwnd, msg, wp, lp);
}

static bool register_class(const char *name, WNDPROC proc)
{
	WNDCLASSA wc = {};

	wc.lpfnWndProc = proc;
	wc.hInstance = GetModuleHandleA(NULL);
	wc.hCursor = LoadCursor(NULL, IDC_ARROW);
	wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
	wc.lpszClassName = name;
	return RegisterClassA(&wc) != 0;
}

static HWND make_child(HWND parent, const char *class_name, const char *title,
                       DWORD style, int id)
{
	return CreateWindowA(class_name, title, WS_CHILD | style, 0, 0,
	                     CHILD_WIDTH, CHILD_HEIGHT, parent, (HMENU)(INT_PTR)id,
	                     GetModuleHandleA(NULL), NULL);
}

template <size_t N>
static HWND make_combo(HWND parent, int id, const char *const (&items)[N])
{
	HWND box = make_child(parent, "COMBOBOX", "",
	                      WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, id);

	if (!box)
		return NULL;
	for (const char *item : items)
		SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)item);
	SendMessageA(box, CB_SETCURSEL, 0, 0);
	combo_original = (WNDPROC)SetWindowLongPtrA(box, GWLP_WNDPROC,
	                                            (LONG_PTR)combo_proc);
	return box;
}

// The panes and the mail list, as many of the three levels as asked
// for. False only when a window cannot be made.
static bool make_list_chain(HWND main)
{
	static const int pane_ids[] = {DRY_PANE_ID, DRY_LIST_PANE_ID};
	HWND parent = main, list;

	for (int level = 0; level < list_levels && level < PANE_LEVELS; level++)
		if (!(parent = make_child(parent, PANE_CLASS, "", WS_VISIBLE,
		                          pane_ids[level])))
			return false;
	if (list_levels < FULL_LIST_LEVELS)
		return true;
	list = make_child(parent, "LISTBOX", "",
	                  WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL,
	                  DRY_MAIL_LIST_ID);
	if (!list)
		return false;
	for (const char *mail : MAILS)
		SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)mail);
	SendMessageA(list, LB_SETSEL, TRUE, DRY_FIRST_SELECTED);
	SendMessageA(list, LB_SETCARETINDEX, DRY_FIRST_SELECTED, 0);
	list_original = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC,
	                                           (LONG_PTR)list_proc);
	return true;
}

static bool make_mailboxes(HWND main)
{
	char label[LABEL_SIZE], title[LABEL_SIZE];

	if (!make_child(main, PANE_CLASS, "", WS_VISIBLE, DRY_AREA_A_ID) ||
	    !make_child(main, PANE_CLASS, "", WS_VISIBLE, DRY_AREA_B_ID))
		return false;
	for (const DryBox &b : DRY_BOXES) {
		HWND parent = b.parent_id ? dry_window(main, b.parent_id) : main;
		HWND box;

		if (!register_class(b.class_name, box_proc) &&
		    GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
			return false;
		if (!parent)
			return false;
		box = make_child(parent, b.class_name, b.title,
		                 WS_OVERLAPPEDWINDOW |
		                     (b.minimised ? WS_VISIBLE | WS_MINIMIZE : 0),
		                 b.id);
		if (!box)
			return false;
		escape(title, sizeof title, (const unsigned char *)b.title,
		       strlen(b.title));
		snprintf(label, sizeof label, "mailbox \"%s\"", title);
		watch(box, label);
	}
	return true;
}

// Mailbox windows titled on the command line: hidden, below the second
// area, after the fixed ones.
enum { TITLE_MAX = 255 };
static char titles[DRY_TITLED_BOX_MAX][TITLE_MAX + 1];
static int title_count;

static bool add_title(const char *escaped)
{
	if (title_count == DRY_TITLED_BOX_MAX ||
	    unescape(titles[title_count], sizeof titles[0], escaped) < 0)
		return false;
	title_count++;
	return true;
}

static bool make_titled_mailboxes(HWND main)
{
	HWND area = dry_window(main, DRY_AREA_B_ID);
	char label[LABEL_SIZE], title[LABEL_SIZE];

	if (title_count > 0 && !area)
		return false;
	for (int i = 0; i < title_count; i++) {
		HWND box = make_child(area, DRY_BOX_CLASS, titles[i],
		                      WS_OVERLAPPEDWINDOW, DRY_TITLED_BOX_ID + i);
		if (!box)
			return false;
		quote_text(title, sizeof title, titles[i]);
		snprintf(label, sizeof label, "mailbox %s", title);
		watch(box, label);
	}
	return true;
}

static bool make_editor()
{
	HWND editor;

	if (!register_class(EDITOR_CLASS, editor_proc))
		return false;
	editor = CreateWindowA(EDITOR_CLASS, "TwnDry - dry-run send editor",
	                       WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
	                       MAIN_WIDTH, MAIN_HEIGHT, NULL, NULL,
	                       GetModuleHandleA(NULL), NULL);
	if (!editor ||
	    !make_child(editor, "EDIT", "Hello,\r\n\r\nsee you on Monday.",
	                WS_VISIBLE | ES_MULTILINE, DRY_EDITOR_TEXT_ID))
		return false;
	if (editor_mode == EDITOR_WITH_BOX &&
	    !(signature_box = make_combo(editor, DRY_SIGNATURE_BOX_ID,
	                                 SIGNATURES)))
		return false;
	ShowWindow(editor, SW_SHOWNOACTIVATE);
	return true;
}

// Builds the windows the options ask for; the main window's state and
// the mailbox windows' are watched from here on. Without any level of the
// list chain the main window has no children at all.
static bool make_windows(HWND main)
{
	if (!register_class(PANE_CLASS, DefWindowProcA))
		return false;
	if (list_levels > 0) {
		if (!make_list_chain(main))
			return false;
		if (!without_template_box &&
		    !(template_box = make_combo(main, DRY_TEMPLATE_BOX_ID,
		                                TEMPLATES)))
			return false;
		if (!make_mailboxes(main))
			return false;
		if (!make_titled_mailboxes(main))
			return false;
	}
	if (editor_mode != EDITOR_NONE && !make_editor())
		return false;
	watch(main, "main window");
	return true;
}

static LRESULT CALLBACK main_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
	switch (msg) {
	case WM_MARK:
		// Posted by tests after a tool has exited: everything the tool
		// posted before lies earlier in this thread's queue.
		record("mark %u", (unsigned)wp);
		return 0;
	case WM_TIMER:
		if (wp == HANG_TIMER_ID) {
			KillTimer(hwnd, HANG_TIMER_ID);
			to_release++;
			DdeEnableCallback(dde_inst, NULL, EC_ENABLEALL);
		}
		return 0;
	case WM_DESTROY:
		PostQuitMessage(0);
		return 0;
	case WM_COMMAND:
		record_command("", MAIN_COMMANDS, wp, lp);
		return 0;
	case WM_SYSCOMMAND:
		// Recorded, then carried out as any window does.
		record_syscommand(wp, lp);
		break;
	case WM_WINDOWPOSCHANGED:
		note_state(hwnd);
		break;
	case WM_CLOSE:
		shutting_down = true;
		break;
	default:
		if (msg >= WM_USER && msg < WM_APP) {
			record_request(msg, wp, lp);
			return 0;
		}
		break;
	}
	return DefWindowProcA(hwnd, msg, wp, lp);
}

static bool is_option(const char *arg, const char *name)
{
	return strcmp(arg, name) == 0;
}

// ITEM=VALUE into its two halves; false when there is no '='.
static bool split_pair(const char *arg, char *name, size_t size,
                       const char **value)
{
	const char *eq = strchr(arg, '=');

	if (!eq || (size_t)(eq - arg) >= size)
		return false;
	memcpy(name, arg, eq - arg);
	name[eq - arg] = '\0';
	*value = eq + 1;
	return true;
}

static bool parse_mode(const char *text, AnswerMode *mode)
{
	static const struct {
		const char *name;
		AnswerMode mode;
	} modes[] = {
		{"normal", ANSWER_NORMAL},
		{"noterm", ANSWER_NOTERM},
		{"refuse", ANSWER_REFUSE},
		{"hang", ANSWER_HANG},
	};

	for (const auto &m : modes)
		if (strcmp(text, m.name) == 0) {
			*mode = m.mode;
			return true;
		}
	return false;
}

static bool parse_levels(const char *text, int *levels)
{
	if (text[0] < '0' || text[0] > '0' + FULL_LIST_LEVELS || text[1])
		return false;
	*levels = text[0] - '0';
	return true;
}

// The mailbox directory this client made for itself; removed at the end
// if nothing was left in it.
static char own_mailbox[MAX_PATH];

static void default_answers()
{
	char dir[MAX_PATH];
	char mailbox[MAX_PATH];
	DWORD n;

	n = GetTempPathA(sizeof dir, dir);
	if (n == 0 || n >= sizeof dir)
		snprintf(dir, sizeof dir, "C:\\");
	snprintf(mailbox, sizeof mailbox, "%sTwnDry-%lu\\", dir,
	         GetCurrentProcessId());
	if (CreateDirectoryA(mailbox, NULL))
		snprintf(own_mailbox, sizeof own_mailbox, "%s", mailbox);
	set_text(find_item("MailBox"), mailbox);
	set_text(find_item("Version"), "TwnDry 1.0");
	set_text(find_item("Online"), "1");
}

int main(int argc, char **argv)
{
	const char *log_path = NULL;
	bool no_dde = false;
	char name[ITEM_NAME_SIZE];
	const char *value;
	Item *item;
	WNDCLASSA wc = {};
	HWND hwnd;
	MSG msg;

	default_answers();
	for (int i = 1; i < argc; i++) {
		const char *arg = argv[i];
		bool has_next = i + 1 < argc;

		if (is_option(arg, "--log") && has_next) {
			log_path = argv[++i];
		} else if (is_option(arg, "--quiet")) {
			quiet = true;
		} else if (is_option(arg, "--refuse-connect")) {
			refuse_connect = true;
		} else if (is_option(arg, "--exit-after") && has_next &&
		           (item = find_item(argv[i + 1]))) {
			exit_after = item;
			i++;
		} else if (is_option(arg, "--no-dde")) {
			no_dde = true;
		} else if (is_option(arg, "--no-template-box")) {
			without_template_box = true;
		} else if (is_option(arg, "--editor")) {
			editor_mode = EDITOR_WITH_BOX;
		} else if (is_option(arg, "--editor-no-box")) {
			editor_mode = EDITOR_WITHOUT_BOX;
		} else if (is_option(arg, "--mailbox-title") && has_next) {
			if (!add_title(argv[++i])) {
				fprintf(stderr, "TwnDry: more than %d mailbox titles, or "
				        "one longer than %d bytes\n", DRY_TITLED_BOX_MAX,
				        TITLE_MAX);
				return 1;
			}
		} else if (is_option(arg, "--remove-mailbox")) {
			remove_mailbox = true;
		} else if (is_option(arg, "--answer") && has_next &&
		           split_pair(argv[i + 1], name, sizeof name, &value) &&
		           (item = find_item(name))) {
			i++;
			item->len = unescape(item->text, sizeof item->text, value);
			item->given = true;
			if (item->len < 0) {
				fprintf(stderr, "TwnDry: answer for %s too long\n", name);
				return 1;
			}
		} else if ((is_option(arg, "--mode") && has_next &&
		            split_pair(argv[i + 1], name, sizeof name, &value) &&
		            (item = find_item(name)) &&
		            parse_mode(value, &item->mode)) ||
		           (is_option(arg, "--list-levels") && has_next &&
		            parse_levels(argv[i + 1], &list_levels))) {
			i++; // the option's value, taken in the test
		} else {
			fputs(USAGE, stderr);
			return 1;
		}
	}
	if (log_path && !(log_file = fopen(log_path, "ab"))) {
		fprintf(stderr, "TwnDry: cannot open %s\n", log_path);
		return 1;
	}
	if (FindWindowA(MAIN_CLASS, NULL)) {
		fprintf(stderr, "TwnDry: a mail client is already running\n");
		return 1;
	}
	if (!no_dde && !start_dde()) {
		fprintf(stderr, "TwnDry: cannot start the DDE service\n");
		return 1;
	}

	wc.lpfnWndProc = main_proc;
	wc.hInstance = GetModuleHandleA(NULL);
	wc.hCursor = LoadCursor(NULL, IDC_ARROW);
	wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
	wc.lpszClassName = MAIN_CLASS;
	RegisterClassA(&wc);
	hwnd = main_window = CreateWindowA(MAIN_CLASS, "TwnDry - dry-run mail client",
	                     WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
	                     640, 480, NULL, NULL, wc.hInstance, NULL);
	if (!hwnd) {
		stop_dde();
		fprintf(stderr, "TwnDry: cannot create the main window\n");
		return 1;
	}
	ShowWindow(hwnd, SW_SHOWNORMAL);
	if (!make_windows(hwnd)) {
		stop_dde();
		fprintf(stderr, "TwnDry: cannot create the client's windows\n");
		return 1;
	}
	record("ready mailbox %s", find_item("MailBox")->text);

	while (GetMessageA(&msg, NULL, 0, 0) > 0) {
		TranslateMessage(&msg);
		DispatchMessageA(&msg);
	}
	stop_dde();
	if (own_mailbox[0])
		RemoveDirectoryA(own_mailbox);
	if (log_file)
		fclose(log_file);
	return 0;
}
