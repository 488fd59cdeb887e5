#include <gtest/gtest.h>

#include <limits.h>

#include "number.h"

TEST(ReadDecimal, Table)
{
	const struct {
		const char *text;
		int value;
	} rows[] = {
		{"0", 0},
		{"1", 1},
		{"2", 2},
		{"", 0},
		{"abc", 0},
		{"+", 0},
		{"-", 0},
		{"-0", 0},
		{" 2", 2},
		{"\t\n\v\f\r 2", 2},
		{"+2", 2},
		{"2nd", 2},
		{"-1", -1},
		{"007", 7},
		{"+-1", 0},
		{" - 1", 0},
		{"3", 3},
		{"10", 10},
		{"2147483647", INT_MAX},
		{"-2147483648", INT_MIN},
		// Beyond int: saturate instead of wrapping into 0..2.
		{"2147483648", INT_MAX},
		{"4294967298", INT_MAX},
		{"-2147483649", INT_MIN},
		{"99999999999999999999999999", INT_MAX},
		{"-99999999999999999999999999", INT_MIN},
	};
	for (const auto &r : rows)
		EXPECT_EQ(r.value, read_decimal(r.text)) << '"' << r.text << '"';
}
