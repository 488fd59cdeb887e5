// Times the six window-message tools against the bare baseline program,
// both started the same way, alternately, against one running dry-run
// client with its send editor, and prints each tool's median wall time
// as a ratio to the baseline's median over the runs paired with it.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

enum { DEFAULT_ROUNDS = 201, MAX_ROUNDS = 10001 };
enum { START_TIMEOUT_MS = 15000, POLL_MS = 10 };
// Stands in for the exit code of a program that could not be started.
static const DWORD NEVER_STARTED = ~0u;

struct Tool {
	const char *name;
	const char *args;
};

// Each with an argument that makes it do its whole work.
static const Tool TOOLS[] = {
	{"TwnCmd", "view"},
	{"TwnCur", "5"},
	{"TwnTmpl", "Weekly"},
	{"TwnWin", "no"},
	{"TwnBox", "Inbox"},
	{"TiQCmd", "sig Office"},
	// The baseline against itself: how far the method's figures stray
	// from 1 when there is no difference at all.
	{"bench_bare", ""},
};
enum { TOOL_COUNT = sizeof TOOLS / sizeof TOOLS[0] };

static const char BARE[] = "bench_bare";

static std::string exe_path(const char *name)
{
	char path[MAX_PATH];
	DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
	std::string dir(path, n);

	dir.erase(dir.find_last_of('\\') + 1);
	return dir + name + ".exe";
}

static HANDLE start(const char *name, const char *args)
{
	std::string exe = exe_path(name);
	std::string line = "\"" + exe + "\" " + args;
	std::vector<char> cmd(line.begin(), line.end());
	STARTUPINFOA si = {};
	PROCESS_INFORMATION pi;

	cmd.push_back('\0');
	si.cb = sizeof si;
	if (!CreateProcessA(exe.c_str(), cmd.data(), NULL, NULL, FALSE, 0, NULL,
	                    NULL, &si, &pi)) {
		fprintf(stderr, "cannot start %s (error %lu)\n", name,
		        (unsigned long)GetLastError());
		return NULL;
	}
	CloseHandle(pi.hThread);
	return pi.hProcess;
}

// Wall time of one run from start to exit, in milliseconds; negative
// when the program could not start or did not exit with 0 (*code).
static double timed_run_once(const char *name, const char *args, DWORD *code)
{
	LARGE_INTEGER freq, t0, t1;
	HANDLE process;

	*code = NEVER_STARTED;
	QueryPerformanceFrequency(&freq);
	QueryPerformanceCounter(&t0);
	if (!(process = start(name, args)))
		return -1;
	WaitForSingleObject(process, INFINITE);
	QueryPerformanceCounter(&t1);
	GetExitCodeProcess(process, code);
	CloseHandle(process);
	if (*code != 0)
		return -1;
	return (double)(t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart;
}

// Every program here exits with 0. Now and then, after some thousands of
// starts, Wine fails to start a program (CreateProcess fails, error 1359)
// or ends it with 1 before it runs; such a run never happened, so it is
// reported, left out and made once more.
static double timed_run(const char *name, const char *args)
{
	DWORD code;
	double ms = timed_run_once(name, args, &code);

	if (ms < 0 && (code == 1 || code == NEVER_STARTED)) {
		fprintf(stderr, "note: %s did not run (%lu); run once more\n", name,
		        (unsigned long)code);
		ms = timed_run_once(name, args, &code);
	}
	if (ms < 0)
		fprintf(stderr, "%s %s: exit code %lu\n", name, args,
		        (unsigned long)code);
	return ms;
}

// The value a fraction `at` of the way up the sorted values (0.5: the
// median), between neighbours where it falls between two.
static double quantile(std::vector<double> v, double at)
{
	double pos = at * (v.size() - 1);
	size_t low = (size_t)pos;

	std::sort(v.begin(), v.end());
	if (low + 1 >= v.size())
		return v[low];
	return v[low] + (pos - low) * (v[low + 1] - v[low]);
}

static double median(const std::vector<double> &v)
{
	return quantile(v, 0.5);
}

static bool client_ready(HANDLE client)
{
	for (DWORD waited = 0; waited < START_TIMEOUT_MS; waited += POLL_MS) {
		if (FindWindowA("TiWren", NULL) && FindWindowA("TIQuilEditor", NULL))
			return true;
		if (WaitForSingleObject(client, POLL_MS) == WAIT_OBJECT_0)
			return false;
	}
	return false;
}

static void client_stop(HANDLE client)
{
	HWND hwnd = FindWindowA("TiWren", NULL);

	if (hwnd)
		PostMessageA(hwnd, WM_CLOSE, 0, 0);
	if (WaitForSingleObject(client, START_TIMEOUT_MS) != WAIT_OBJECT_0)
		TerminateProcess(client, 1);
	CloseHandle(client);
}

// Alternates tool and baseline, each round the other one first, so that
// drift in the machine's load falls on both alike. Each tool run and the
// baseline run beside it form a pair, whose ratio `pair_ratio` keeps.
static bool measure(int rounds, std::vector<double> *tool_ms,
                    std::vector<double> *bare_ms,
                    std::vector<double> *pair_ratio)
{
	for (int round = 0; round < rounds; round++) {
		for (int t = 0; t < TOOL_COUNT; t++) {
			double pair[2];
			for (int k = 0; k < 2; k++) {
				bool tool_turn = (k == 0) == (round % 2 == 0);
				double ms = tool_turn ? timed_run(TOOLS[t].name, TOOLS[t].args)
				                      : timed_run(BARE, "");
				if (ms < 0)
					return false;
				pair[tool_turn ? 0 : 1] = ms;
			}
			tool_ms[t].push_back(pair[0]);
			bare_ms[t].push_back(pair[1]);
			pair_ratio[t].push_back(pair[0] / pair[1]);
		}
	}
	return true;
}

int main(int argc, char **argv)
{
	int rounds = argc > 1 ? atoi(argv[1]) : DEFAULT_ROUNDS;
	std::vector<double> tool_ms[TOOL_COUNT], bare_ms[TOOL_COUNT];
	HANDLE client;
	bool ok;

	if (rounds < 1 || rounds > MAX_ROUNDS) {
		fprintf(stderr, "usage: bench_wintools [rounds 1..%d]\n", MAX_ROUNDS);
		return 1;
	}
	if (FindWindowA("TiWren", NULL)) {
		fprintf(stderr, "a mail client is running already; stop it first\n");
		return 1;
	}
	if (!(client = start("TwnDry", "--quiet --editor")) ||
	    !client_ready(client)) {
		fprintf(stderr, "cannot start the dry-run client\n");
		if (client)
			client_stop(client);
		return 1;
	}
	// One untimed round first: the first start of a program pays for
	// loading it from disk.
	std::vector<double> warm[TOOL_COUNT], warm_bare[TOOL_COUNT],
		warm_ratio[TOOL_COUNT], pair_ratio[TOOL_COUNT];
	ok = measure(1, warm, warm_bare, warm_ratio) &&
	     measure(rounds, tool_ms, bare_ms, pair_ratio);
	client_stop(client);
	if (!ok)
		return 1;
	// Under a changing load the run times cluster in a fast and a slow
	// group, and the median of each can land in either: the median of the
	// ratios within pairs, run side by side, is the steadier figure.
	printf("%d pairs of runs, tool and bare baseline alternating\n", rounds);
	// The quartiles of the paired ratios show how far the machine's noise
	// reaches.
	printf("%-10s %10s %10s %17s %13s %15s\n", "tool", "median ms",
	       "bare ms", "ratio of medians", "paired ratio", "its quartiles");
	for (int t = 0; t < TOOL_COUNT; t++) {
		double tool = median(tool_ms[t]), bare = median(bare_ms[t]);
		printf("%-10s %10.2f %10.2f %17.3f %13.3f %7.3f %7.3f\n",
		       TOOLS[t].name, tool, bare, tool / bare, median(pair_ratio[t]),
		       quantile(pair_ratio[t], 0.25), quantile(pair_ratio[t], 0.75));
	}
	return 0;
}
