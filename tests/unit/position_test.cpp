#include <gtest/gtest.h>

#include <limits.h>

#include "position.h"

static const int UNTOUCHED = -12345;

TEST(ReadPosition, Table)
{
	const struct {
		const char *text;
		bool is_position;
		int value; // UNTOUCHED when no position
	} rows[] = {
		{"0", true, 0},
		{"", true, 0},
		{"7", true, 7},
		{"007", true, 7},
		{"0000000000000000000000012", true, 12},
		{"2147483647", true, INT_MAX},
		// Past INT_MAX: saturate to a position no list has. Wrapping would
		// turn these into -1 (every item) and 7.
		{"2147483648", true, INT_MAX},
		{"4294967295", true, INT_MAX},
		{"4294967303", true, INT_MAX},
		{"99999999999999999999999999999999", true, INT_MAX},
		{"+1", false, UNTOUCHED},
		{"-1", false, UNTOUCHED},
		{"1a", false, UNTOUCHED},
		{" 1", false, UNTOUCHED},
		{"1 ", false, UNTOUCHED},
		{"\t", false, UNTOUCHED},
		{"up", false, UNTOUCHED},
		{"1\xB9", false, UNTOUCHED},
	};
	for (const auto &r : rows) {
		int value = UNTOUCHED;
		EXPECT_EQ(r.is_position, read_position(r.text, &value))
			<< '"' << r.text << '"';
		EXPECT_EQ(r.value, value) << '"' << r.text << '"';
	}
}
