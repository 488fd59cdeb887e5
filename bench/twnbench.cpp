// twnbench: times TwnSend handing a 50 MiB mail to the dry-run client
// against rawcopy copying the same file, alternately in one run, and reads
// the peak working set of both for a 1 KiB and a 50 MiB mail.
// usage: twnbench [ROUNDS]
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

enum { BIG_SIZE = 50 << 20, SMALL_SIZE = 1 << 10 };
enum { LINE_LENGTH = 76 };
enum { DEFAULT_ROUNDS = 21 };
enum { START_TIMEOUT_MS = 15000, POLL_MS = 5 };

static const char CLIENT_CLASS[] = "TiWren";

struct Run {
	DWORD code;
	double ms;
	SIZE_T peak; // bytes, 0 unless asked for
};

static std::string bin_dir()
{
	char path[MAX_PATH];
	DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
	std::string dir(path, n);

	return dir.erase(dir.find_last_of('\\') + 1);
}

static double now_ms()
{
	LARGE_INTEGER t, f;

	QueryPerformanceCounter(&t);
	QueryPerformanceFrequency(&f);
	return t.QuadPart * 1000.0 / f.QuadPart;
}

// Runs a command line and waits for it. With `sample`, the peak working
// set is read again and again while the program runs (those runs are not
// timed): Wine reports nothing once the process has ended, and the peak
// only grows, so the last reading is the peak.
static Run run(const std::string &line, bool sample)
{
	STARTUPINFOA si = {};
	PROCESS_INFORMATION pi;
	PROCESS_MEMORY_COUNTERS pmc;
	std::vector<char> cmd(line.begin(), line.end());
	Run r = {~0u, 0, 0};
	double start;

	SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
	// The progress lines are not what is measured.
	HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
	                         FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
	                         OPEN_EXISTING, 0, NULL);

	cmd.push_back('\0');
	si.cb = sizeof si;
	si.dwFlags = STARTF_USESTDHANDLES;
	si.hStdInput = si.hStdOutput = si.hStdError = nul;
	start = now_ms();
	BOOL started = CreateProcessA(NULL, cmd.data(), NULL, NULL, TRUE, 0, NULL,
	                              NULL, &si, &pi);
	CloseHandle(nul);
	if (!started) {
		fprintf(stderr, "cannot start %s\n", line.c_str());
		return r;
	}
	for (;;) {
		DWORD w = WaitForSingleObject(pi.hProcess, sample ? 0 : INFINITE);
		if (sample && GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc))
			r.peak = std::max(r.peak, pmc.PeakWorkingSetSize);
		if (w != WAIT_TIMEOUT)
			break;
	}
	r.ms = now_ms() - start;
	GetExitCodeProcess(pi.hProcess, &r.code);
	CloseHandle(pi.hThread);
	CloseHandle(pi.hProcess);
	return r;
}

// A mail body as attachments make it: base64 lines of 76 characters.
static bool make_mail(const std::string &path, size_t size, const char *eol)
{
	static const char digits[] =
		"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	FILE *f = fopen(path.c_str(), "wb");
	unsigned x = 1;
	std::string line;

	if (!f)
		return false;
	for (size_t written = 0; written < size; written += line.size()) {
		line.clear();
		for (int i = 0; i < LINE_LENGTH; i++) {
			x = x * 1103515245 + 12345;
			line += digits[(x >> 16) & 63];
		}
		line += eol;
		line.resize(std::min(line.size(), size - written));
		fwrite(line.data(), 1, line.size(), f);
	}
	return fclose(f) == 0;
}

static void empty_dir(const std::string &dir)
{
	WIN32_FIND_DATAA fd;
	HANDLE h = FindFirstFileA((dir + "*.wml").c_str(), &fd);

	if (h == INVALID_HANDLE_VALUE)
		return;
	do
		DeleteFileA((dir + fd.cFileName).c_str());
	while (FindNextFileA(h, &fd));
	FindClose(h);
}

static std::string escaped_path(const std::string &path)
{
	std::string s;

	for (char c : path)
		s += c == '\\' ? std::string("\\\\") : std::string(1, c);
	return s;
}

static bool client_start(const std::string &bin, const std::string &box)
{
	if (FindWindowA(CLIENT_CLASS, NULL)) {
		fprintf(stderr, "a mail client is running already\n");
		return false;
	}
	STARTUPINFOA si = {};
	PROCESS_INFORMATION pi;
	std::string line = "\"" + bin + "TwnDry.exe\" --quiet --answer \"MailBox=" +
	                   escaped_path(box) + "\"";
	std::vector<char> cmd(line.begin(), line.end());
	cmd.push_back('\0');
	si.cb = sizeof si;
	if (!CreateProcessA(NULL, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL,
	                    &si, &pi))
		return false;
	CloseHandle(pi.hThread);
	CloseHandle(pi.hProcess);
	for (DWORD waited = 0; waited < START_TIMEOUT_MS; waited += POLL_MS) {
		if (FindWindowA(CLIENT_CLASS, NULL))
			return true;
		Sleep(POLL_MS);
	}
	return false;
}

static void client_stop()
{
	HWND hwnd = FindWindowA(CLIENT_CLASS, NULL);

	if (hwnd)
		PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

static double median(std::vector<double> v)
{
	std::sort(v.begin(), v.end());
	return v.size() % 2 ? v[v.size() / 2]
	                    : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Bench {
	std::string send, raw; // command lines
	std::string box, copy; // where their outputs go
};

static Run send_mail(const Bench &b, const std::string &mail, bool sample)
{
	Run r = run(b.send + " \"" + mail + "\"", sample);

	empty_dir(b.box);
	return r;
}

static Run raw_copy(const Bench &b, const std::string &mail, bool sample)
{
	Run r = run(b.raw + " \"" + mail + "\" \"" + b.copy + "\"", sample);

	DeleteFileA(b.copy.c_str());
	return r;
}

// One round: TwnSend and the raw copy, each with the big and the small
// mail, in an order that turns by one place every round.
struct Round {
	Run send_big, raw_big, send_small, raw_small;
};

static bool run_round(const Bench &b, const std::string &big,
                      const std::string &small, int turn, Round *r)
{
	for (int k = 0; k < 4; k++) {
		switch ((k + turn) % 4) {
		case 0: r->send_big = send_mail(b, big, false); break;
		case 1: r->raw_big = raw_copy(b, big, false); break;
		case 2: r->send_small = send_mail(b, small, false); break;
		case 3: r->raw_small = raw_copy(b, small, false); break;
		}
	}
	return r->send_big.code == 0 && r->raw_big.code == 0 &&
	       r->send_small.code == 0 && r->raw_small.code == 0;
}

// The ratio TwnSend / raw copy for the big mail, and the same with each
// program's small-mail time taken off: what the copy alone costs, without
// starting the program and talking to the client.
static bool time_rounds(const Bench &b, const std::string &big,
                        const std::string &small, const char *what,
                        int rounds)
{
	std::vector<double> ratios, copy_ratios, sends, raws, fixed;

	printf("%s\n", what);
	for (int i = 0; i < rounds; i++) {
		Round r;
		if (!run_round(b, big, small, i, &r)) {
			fprintf(stderr, "round %d: a run failed\n", i + 1);
			return false;
		}
		double ratio = r.send_big.ms / r.raw_big.ms;
		double copy_ratio = (r.send_big.ms - r.send_small.ms) /
		                    (r.raw_big.ms - r.raw_small.ms);
		printf("  round %2d: TwnSend %6.1f ms, raw copy %6.1f ms, ratio %.2f;"
		       " 1 KiB: %5.1f / %5.1f ms; copy alone %.2f\n",
		       i + 1, r.send_big.ms, r.raw_big.ms, ratio, r.send_small.ms,
		       r.raw_small.ms, copy_ratio);
		ratios.push_back(ratio);
		copy_ratios.push_back(copy_ratio);
		sends.push_back(r.send_big.ms);
		raws.push_back(r.raw_big.ms);
		fixed.push_back(r.send_small.ms - r.raw_small.ms);
	}
	printf("  median ratio TwnSend / raw copy: %.2f "
	       "(medians %.1f ms / %.1f ms, %d rounds)\n"
	       "  median ratio of the copy alone: %.2f; TwnSend's start and "
	       "client talk: %.1f ms more than the raw copy's start\n",
	       median(ratios), median(sends), median(raws), rounds,
	       median(copy_ratios), median(fixed));
	return true;
}

int main(int argc, char **argv)
{
	int rounds = argc > 1 ? atoi(argv[1]) : DEFAULT_ROUNDS;
	std::string bin = bin_dir();
	char tmp[MAX_PATH];
	Bench b;
	bool ok;

	if (rounds < 1)
		rounds = DEFAULT_ROUNDS;
	GetTempPathA(sizeof tmp, tmp);
	std::string dir = std::string(tmp) + "TwnBench\\";
	CreateDirectoryA(dir.c_str(), NULL);
	b.box = dir + "box\\";
	CreateDirectoryA(b.box.c_str(), NULL);
	b.copy = dir + "copy.bin";
	b.send = "\"" + bin + "TwnSend.exe\"";
	b.raw = "\"" + bin + "rawcopy.exe\"";
	std::string big_crlf = dir + "big-crlf.txt", big_lf = dir + "big-lf.txt";
	std::string small = dir + "small.txt";
	if (!make_mail(big_crlf, BIG_SIZE, "\r\n") ||
	    !make_mail(big_lf, BIG_SIZE, "\n") ||
	    !make_mail(small, SMALL_SIZE, "\r\n")) {
		fprintf(stderr, "cannot write the mails into %s\n", dir.c_str());
		return 1;
	}
	empty_dir(b.box);
	if (!client_start(bin, b.box)) {
		fprintf(stderr, "cannot start TwnDry\n");
		return 1;
	}
	// One untimed run of each first, so that both start from a warm
	// file cache.
	send_mail(b, big_crlf, false);
	raw_copy(b, big_crlf, false);
	ok = time_rounds(b, big_crlf, small, "50 MiB mail, CR LF lines (output "
	                 "as large as the input):", rounds) &&
	     time_rounds(b, big_lf, small, "50 MiB mail, LF lines (output 1/77 "
	                 "larger than the input):", rounds);
	if (ok) {
		Run s1 = send_mail(b, small, true), s50 = send_mail(b, big_crlf, true);
		Run r1 = raw_copy(b, small, true), r50 = raw_copy(b, big_crlf, true);
		printf("peak working set, 1 KiB mail / 50 MiB mail:\n"
		       "  TwnSend  %6zu KiB / %6zu KiB\n"
		       "  raw copy %6zu KiB / %6zu KiB\n",
		       s1.peak >> 10, s50.peak >> 10, r1.peak >> 10, r50.peak >> 10);
		ok = s1.code == 0 && s50.code == 0 && r1.code == 0 && r50.code == 0;
	}
	client_stop();
	DeleteFileA(big_crlf.c_str());
	DeleteFileA(big_lf.c_str());
	DeleteFileA(small.c_str());
	return ok ? 0 : 1;
}
