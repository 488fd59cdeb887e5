#include <gtest/gtest.h>

#include "harness.h"

static const char USAGE[] =
	"Usage TwnCmd [view|res|tra(ns)|del|fol(der)|dust]\n"
	"  view     : Open Mail View\n"
	"  res      : Open Reply View\n"
	"  tra(ns)  : Open Forword View\n"
	"  del      : Delete Current Mail\n"
	"  fol(der) : Move All Mails to Folder\n"
	"  dust     : Clean Up DustBox\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n";

static const char VIEW[] = "open mail view (message 1145, wParam 3)";
static const char REPLY[] = "reply view (WM_COMMAND 202)";
static const char FORWARD[] = "forward view (WM_COMMAND 203)";
static const char DELETE_MAIL[] = "delete mail (WM_COMMAND 204)";
static const char FOLDER[] = "move all mails to folder (WM_COMMAND 207)";
static const char DUST[] = "empty dust box (WM_COMMAND 104)";

struct Row {
	Args args;
	DWORD code;
	std::vector<std::string> events;
};

TEST(TwnCmd, ClientRunning)
{
	const Row rows[] = {
		{{}, 1, {}},
		{{"view"}, 0, {VIEW}},
		{{"res"}, 0, {REPLY}},
		{{"tra"}, 0, {FORWARD}},
		{{"del"}, 0, {DELETE_MAIL}},
		{{"fol"}, 0, {FOLDER}},
		{{"dust"}, 0, {DUST}},
		// Case does not matter, nor what follows the keyword.
		{{"VIEW"}, 0, {VIEW}},
		{{"Dust"}, 0, {DUST}},
		{{"rEs"}, 0, {REPLY}},
		{{"trans"}, 0, {FORWARD}},
		{{"transfer"}, 0, {FORWARD}},
		{{"folder"}, 0, {FOLDER}},
		{{"delete"}, 0, {DELETE_MAIL}},
		{{"dustbox"}, 0, {DUST}},
		{{"view all"}, 0, {VIEW}},
		// The beginning of a keyword, or no keyword at all.
		{{"vie"}, 1, {}},
		{{"du"}, 1, {}},
		{{"re"}, 1, {}},
		{{""}, 1, {}},
		{{" view"}, 1, {}},
		{{"\xB6view"}, 1, {}},
		// Only the first argument counts.
		{{"res", "del"}, 0, {REPLY}},
		{{"nothing", "view"}, 1, {}},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	for (const Row &r : rows)
		expect_run("TwnCmd", USAGE, &client, r.args, r.code, r.events);
}

TEST(TwnCmd, ClientNotRunning)
{
	const Row rows[] = {
		{{}, 1, {}},
		{{"view"}, 2, {}},
		{{"dust"}, 2, {}},
		{{"nothing"}, 2, {}},
		{{""}, 2, {}},
	};
	for (const Row &r : rows)
		expect_run("TwnCmd", USAGE, nullptr, r.args, r.code, r.events);
}
