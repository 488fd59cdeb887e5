// Running the kit's programs under test: start the dry-run client, run a
// tool with exact arguments, read what the client recorded.
#ifndef TESTS_E2E_HARNESS_H
#define TESTS_E2E_HARNESS_H

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

typedef std::vector<std::string> Args;

struct Result {
	DWORD code;      // full exit code, as GetExitCodeProcess gives it
	std::string out; // what the tool wrote to standard output
	std::string err; // and to standard error
	DWORD start_error; // 0, or CreateProcess's error: the tool never ran
};

// Path of a program built beside the test program.
std::string program_path(const char *name);

// Runs program `name` with exactly `args` and waits for it. When a run
// that should not give 1 gives 1 having printed nothing, it may be Wine
// failing to start the process at all (seen about once in a thousand
// starts); that run is reported on stderr and tried once more. So is a
// start that CreateProcess refuses with an internal error, Wine's other
// way of failing a start (seen a few times in ten thousand).
enum : DWORD { ANY_CODE = ~0ul };
Result run(const char *name, const Args &args, DWORD expected_code = ANY_CODE);

// Quotes one argument so that the standard start-up code of the started
// program hands it over unchanged.
std::string quote_arg(const std::string &arg);

struct Client {
	HANDLE process = NULL;
	std::string log_path;
	size_t log_seen = 0;
	unsigned marks = 0;
	std::string mailbox; // the mailbox directory the client announced

	// A failed assertion must not leave the client running into the
	// next test.
	~Client();
};

// Starts the dry-run client with `options` and waits until it serves.
bool client_start(Client *client, const Args &options);
void client_stop(Client *client);

// Everything the client recorded since the previous call. It first lets
// the client work off every message sent or posted to it so far, so a
// tool's asynchronous commands are included and nothing later is.
std::vector<std::string> client_events(Client *client);

// The tools write their console text through text-mode streams, so each
// line break reaches the console or pipe as CR LF.
std::string console_text(const std::string &text);

// Escapes bytes as the client's record does.
std::string escaped(const std::string &bytes);

// The whole content of a file; empty when it cannot be read.
std::string file_bytes(const std::string &path);

// A file's name and content.
struct File {
	std::string name, bytes;
	bool operator==(const File &o) const
	{
		return name == o.name && bytes == o.bytes;
	}
};
std::ostream &operator<<(std::ostream &os, const File &f);

// A directory of this test program's own, `name` under one directory
// for this run in the temporary directory; made if it is not there.
std::string scratch(const std::string &name);

// Writes `bytes` to the file `path` and returns the path.
std::string put_file(const std::string &path, const std::string &bytes);

// Every file in `dir` (ending in a backslash) with its content, by name.
std::vector<File> files_in(const std::string &dir);

// Deletes every file in `dir`.
void empty_dir(const std::string &dir);

// The tool's name and its arguments, quoted as on its command line.
std::string command_line(const char *tool, const Args &args);

// Runs `tool` with `args` and checks its exit code; that it wrote nothing
// but, started without an argument, `usage` (null: nothing at all) on
// standard error; and, given a client, that the client recorded `events`
// meanwhile.
void expect_run(const char *tool, const char *usage, Client *client,
                const Args &args, DWORD code,
                const std::vector<std::string> &events);

// "hidden", "minimised", "maximised" or "shown" (visible, normal), as
// IsWindowVisible, IsIconic and IsZoomed tell from outside.
std::string window_state(HWND hwnd);

// A text as the client's record quotes it: escaped, and past
// DRY_SHOWN_BYTES bytes cut, with the whole length after it.
std::string dry_quoted(const std::string &text);

// What the client records when its combo box `box` ("template",
// "signature") is asked to select `name`, and when it then selects `text`.
std::string combo_asked(const char *box, const std::string &name);
std::string combo_picked(const char *box, const std::string &text);

// A combo box's selection from outside: "<index> <text>", the index by
// CB_GETCURSEL and the text by WM_GETTEXT.
std::string combo_selection(HWND box);

#endif
