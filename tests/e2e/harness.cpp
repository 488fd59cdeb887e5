#include "harness.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>

#include "TwnDry.h"

enum { WM_MARK = WM_APP + 1 };
enum { START_TIMEOUT_MS = 15000, MARK_TIMEOUT_MS = 15000 };
enum { POLL_MS = 5 };
enum { READ_CHUNK = 4096 };
enum { TEXT_SIZE = 1024 };

static const char CLIENT_CLASS[] = "TiWren";

std::string program_path(const char *name)
{
	char path[MAX_PATH];
	DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
	std::string dir(path, n);

	dir.erase(dir.find_last_of('\\') + 1);
	return dir + name + ".exe";
}

std::string quote_arg(const std::string &arg)
{
	std::string q = "\"";
	size_t slashes = 0;

	if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
		return arg;
	for (char c : arg) {
		if (c == '\\') {
			slashes++;
			continue;
		}
		// Backslashes count double only in front of a quote.
		q.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
		slashes = 0;
		q += c;
	}
	q.append(slashes * 2, '\\');
	return q + "\"";
}

struct Reader {
	HANDLE pipe;
	std::string data;
};

static DWORD WINAPI read_all(void *p)
{
	Reader *r = (Reader *)p;
	char buf[READ_CHUNK];
	DWORD n;

	while (ReadFile(r->pipe, buf, sizeof buf, &n, NULL) && n > 0)
		r->data.append(buf, n);
	return 0;
}

static Result run_once(const char *name, const Args &args)
{
	Result res = {~0u, "", "", 0};
	SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
	HANDLE out_r, out_w, err_r, err_w, nul;
	STARTUPINFOA si = {};
	PROCESS_INFORMATION pi;
	std::string exe = program_path(name);
	std::string line = command_line(quote_arg(exe).c_str(), args);

	CreatePipe(&out_r, &out_w, &sa, 0);
	CreatePipe(&err_r, &err_w, &sa, 0);
	SetHandleInformation(out_r, HANDLE_FLAG_INHERIT, 0);
	SetHandleInformation(err_r, HANDLE_FLAG_INHERIT, 0);
	nul = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
	                  &sa, OPEN_EXISTING, 0, NULL);
	si.cb = sizeof si;
	si.dwFlags = STARTF_USESTDHANDLES;
	si.hStdInput = nul;
	si.hStdOutput = out_w;
	si.hStdError = err_w;
	std::vector<char> cmd(line.begin(), line.end());
	cmd.push_back('\0');
	BOOL started = CreateProcessA(exe.c_str(), cmd.data(), NULL, NULL, TRUE,
	                              0, NULL, NULL, &si, &pi);
	CloseHandle(out_w);
	CloseHandle(err_w);
	CloseHandle(nul);
	if (!started) {
		res.start_error = GetLastError();
		fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(),
		        res.start_error);
		CloseHandle(out_r);
		CloseHandle(err_r);
		return res;
	}
	Reader out = {out_r, ""}, err = {err_r, ""};
	HANDLE threads[2] = {CreateThread(NULL, 0, read_all, &out, 0, NULL),
	                     CreateThread(NULL, 0, read_all, &err, 0, NULL)};
	WaitForSingleObject(pi.hProcess, INFINITE);
	WaitForMultipleObjects(2, threads, TRUE, INFINITE);
	GetExitCodeProcess(pi.hProcess, &res.code);
	res.out = out.data;
	res.err = err.data;
	CloseHandle(threads[0]);
	CloseHandle(threads[1]);
	CloseHandle(out_r);
	CloseHandle(err_r);
	CloseHandle(pi.hThread);
	CloseHandle(pi.hProcess);
	return res;
}

Result run(const char *name, const Args &args, DWORD expected_code)
{
	Result res = run_once(name, args);

	if (expected_code != ANY_CODE && expected_code != 1 && res.code == 1 &&
	    res.out.empty() && res.err.empty()) {
		fprintf(stderr, "note: %s gave 1 without output; taken for a Wine "
		        "start failure and run once more\n", name);
		res = run_once(name, args);
	} else if (res.start_error == ERROR_INTERNAL_ERROR) {
		fprintf(stderr, "note: Wine failed to start %s; run once more\n",
		        name);
		res = run_once(name, args);
	}
	return res;
}

static std::string read_file(const std::string &path)
{
	std::string data;
	char buf[READ_CHUNK];
	FILE *f = fopen(path.c_str(), "rb");
	size_t n;

	if (!f)
		return data;
	while ((n = fread(buf, 1, sizeof buf, f)) > 0)
		data.append(buf, n);
	fclose(f);
	return data;
}

// Complete lines of the record after the first `seen` bytes.
static std::vector<std::string> new_lines(Client *c)
{
	std::vector<std::string> lines;
	std::string data = read_file(c->log_path);
	size_t end;

	while ((end = data.find('\n', c->log_seen)) != std::string::npos) {
		lines.push_back(data.substr(c->log_seen, end - c->log_seen));
		c->log_seen = end + 1;
	}
	return lines;
}

bool client_start(Client *c, const Args &options)
{
	char dir[MAX_PATH], file[MAX_PATH];
	Args args = {"--quiet", "--log"};

	GetTempPathA(sizeof dir, dir);
	GetTempFileNameA(dir, "dry", 0, file);
	c->log_path = file;
	c->log_seen = 0;
	c->marks = 0;
	c->process = NULL;
	args.push_back(c->log_path);
	args.insert(args.end(), options.begin(), options.end());

	std::string exe = program_path("TwnDry");
	std::string line = command_line(quote_arg(exe).c_str(), args);
	std::vector<char> cmd(line.begin(), line.end());
	cmd.push_back('\0');
	STARTUPINFOA si = {};
	PROCESS_INFORMATION pi;
	si.cb = sizeof si;
	BOOL started = CreateProcessA(exe.c_str(), cmd.data(), NULL, NULL, FALSE,
	                              0, NULL, NULL, &si, &pi);
	if (!started && GetLastError() == ERROR_INTERNAL_ERROR) {
		fprintf(stderr, "note: Wine failed to start the client; once more\n");
		started = CreateProcessA(exe.c_str(), cmd.data(), NULL, NULL, FALSE,
		                         0, NULL, NULL, &si, &pi);
	}
	if (!started)
		return false;
	CloseHandle(pi.hThread);
	c->process = pi.hProcess;
	for (DWORD waited = 0; waited < START_TIMEOUT_MS; waited += POLL_MS) {
		for (const std::string &l : new_lines(c))
			if (l.compare(0, 14, "ready mailbox ") == 0) {
				c->mailbox = l.substr(14);
				return true;
			}
		if (WaitForSingleObject(c->process, POLL_MS) == WAIT_OBJECT_0)
			break;
	}
	client_stop(c);
	return false;
}

Client::~Client()
{
	client_stop(this);
}

void client_stop(Client *c)
{
	HWND hwnd;

	if (!c->process)
		return;
	while ((hwnd = FindWindowA(CLIENT_CLASS, NULL)) != NULL) {
		PostMessageA(hwnd, WM_CLOSE, 0, 0);
		if (WaitForSingleObject(c->process, START_TIMEOUT_MS) ==
		    WAIT_OBJECT_0)
			break;
		TerminateProcess(c->process, 1);
		break;
	}
	if (WaitForSingleObject(c->process, START_TIMEOUT_MS) != WAIT_OBJECT_0)
		TerminateProcess(c->process, 1);
	WaitForSingleObject(c->process, INFINITE);
	CloseHandle(c->process);
	c->process = NULL;
	DeleteFileA(c->log_path.c_str());
}

std::vector<std::string> client_events(Client *c)
{
	std::vector<std::string> events;
	HWND hwnd = FindWindowA(CLIENT_CLASS, NULL);
	char mark[32];

	if (!hwnd)
		return new_lines(c);
	snprintf(mark, sizeof mark, "mark %u", ++c->marks);
	PostMessageA(hwnd, WM_MARK, c->marks, 0);
	for (DWORD waited = 0; waited < MARK_TIMEOUT_MS; waited += POLL_MS) {
		for (const std::string &l : new_lines(c)) {
			if (l == mark)
				return events;
			events.push_back(l);
		}
		Sleep(POLL_MS);
	}
	events.push_back("(the client did not answer the mark)");
	return events;
}

std::string escaped(const std::string &bytes)
{
	std::string s;
	char hex[8];

	for (unsigned char c : bytes) {
		if (c == '\\') {
			s += "\\\\";
		} else if (c >= 0x20 && c < 0x7F) {
			s += (char)c;
		} else {
			snprintf(hex, sizeof hex, "\\x%02X", c);
			s += hex;
		}
	}
	return s;
}

std::string console_text(const std::string &text)
{
	std::string s;

	for (char c : text) {
		if (c == '\n')
			s += '\r';
		s += c;
	}
	return s;
}

std::string file_bytes(const std::string &path)
{
	return read_file(path);
}

std::ostream &operator<<(std::ostream &os, const File &f)
{
	return os << f.name << " (" << f.bytes.size() << " bytes)";
}

std::string scratch(const std::string &name)
{
	char dir[MAX_PATH], exe[MAX_PATH];
	std::string path, program;

	GetTempPathA(sizeof dir, dir);
	program.assign(exe, GetModuleFileNameA(NULL, exe, sizeof exe));
	program = program.substr(program.find_last_of('\\') + 1);
	program.erase(program.rfind('.'));
	path = std::string(dir) + program + "-" +
	       std::to_string(GetCurrentProcessId()) + "\\";
	CreateDirectoryA(path.c_str(), NULL);
	path += name + "\\";
	CreateDirectoryA(path.c_str(), NULL);
	return path;
}

std::string put_file(const std::string &path, const std::string &bytes)
{
	FILE *f = fopen(path.c_str(), "wb");

	if (f) {
		fwrite(bytes.data(), 1, bytes.size(), f);
		fclose(f);
	}
	return path;
}

std::vector<File> files_in(const std::string &dir)
{
	std::vector<File> files;
	WIN32_FIND_DATAA fd;
	HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);

	if (h == INVALID_HANDLE_VALUE)
		return files;
	do {
		if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
			files.push_back({fd.cFileName, file_bytes(dir + fd.cFileName)});
	} while (FindNextFileA(h, &fd));
	FindClose(h);
	std::sort(files.begin(), files.end(),
	          [](const File &a, const File &b) { return a.name < b.name; });
	return files;
}

void empty_dir(const std::string &dir)
{
	for (const File &f : files_in(dir))
		DeleteFileA((dir + f.name).c_str());
}

std::string command_line(const char *tool, const Args &args)
{
	std::string line = tool;

	for (const std::string &a : args)
		line += " " + quote_arg(a);
	return line;
}

void expect_run(const char *tool, const char *usage, Client *client,
                const Args &args, DWORD code,
                const std::vector<std::string> &events)
{
	std::string name = command_line(tool, args);
	bool usage_due = args.empty() && usage;
	Result res = run(tool, args, code);
	EXPECT_EQ(code, res.code) << name;
	EXPECT_EQ("", res.out) << name;
	EXPECT_EQ(usage_due ? console_text(usage) : "", res.err) << name;
	if (client) {
		EXPECT_EQ(events, client_events(client)) << name;
	}
}

std::string window_state(HWND hwnd)
{
	if (!IsWindowVisible(hwnd))
		return "hidden";
	if (IsIconic(hwnd))
		return "minimised";
	if (IsZoomed(hwnd))
		return "maximised";
	return "shown";
}

std::string combo_selection(HWND box)
{
	char text[TEXT_SIZE] = "";
	LRESULT index = SendMessageA(box, CB_GETCURSEL, 0, 0);

	SendMessageA(box, WM_GETTEXT, sizeof text, (LPARAM)text);
	return std::to_string((long long)index) + " " + text;
}

std::string dry_quoted(const std::string &text)
{
	if (text.size() <= DRY_SHOWN_BYTES)
		return "\"" + escaped(text) + "\"";
	return "\"" + escaped(text.substr(0, DRY_SHOWN_BYTES)) + "\"... (" +
	       std::to_string(text.size()) + " bytes)";
}

std::string combo_asked(const char *box, const std::string &name)
{
	return std::string(box) + " box: CB_SELECTSTRING -1, " + dry_quoted(name);
}

std::string combo_picked(const char *box, const std::string &text)
{
	return std::string(box) + ": \"" + escaped(text) + "\"";
}
