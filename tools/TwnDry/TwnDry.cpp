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
// run may already hold dry00001.wml and the like.
static void next_entry_name(char *name, size_t size)
{
	char path[MAX_PATH];

	do {
		snprintf(name, size, "dry%05u", ++entry_serial);
		snprintf(path, sizeof path, "%s%s.wml", find_item("MailBox")->text,
		         name);
	} while (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES);
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

// A client that goes away in the middle of a tool's run: once the request
// is answered, no new conversation is accepted and the window closes,
// which ends the DDE service and the program.
static HDDEDATA answer_then_close(HSZ topic_item, HSZ hsz_item, UINT fmt)
{
	char name[ITEM_NAME_SIZE];
	HDDEDATA answer = answer_request(topic_item, hsz_item, fmt);

	DdeQueryStringA(dde_inst, hsz_item, name, sizeof name, CP_WINANSI);
	if (exit_after && find_item(name) == exit_after && !closing) {
		closing = true;
		record("closing after %s", name);
		PostMessageA(main_window, WM_CLOSE, 0, 0);
	}
	return answer;
}

static HDDEDATA record_execute(HDDEDATA data)
{
	static unsigned char bytes[TEXT_SIZE * 4];
	char shown[sizeof bytes * 4 + 1];
	DWORD n;

	n = DdeGetData(data, bytes, sizeof bytes, 0);
	escape(shown, sizeof shown, bytes, n);
	record("execute %s", shown);
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
	CreateDirectoryA(mailbox, NULL);
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
		} else if (is_option(arg, "--mode") && has_next &&
		           split_pair(argv[i + 1], name, sizeof name, &value) &&
		           (item = find_item(name)) && parse_mode(value, &item->mode)) {
			i++;
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
	record("ready mailbox %s", find_item("MailBox")->text);

	while (GetMessageA(&msg, NULL, 0, 0) > 0) {
		TranslateMessage(&msg);
		DispatchMessageA(&msg);
	}
	stop_dde();
	if (log_file)
		fclose(log_file);
	return 0;
}
