#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <random>
#include <string>

#include "textcopy.h"

// What a text-mode read and write of the same bytes gives, one byte at a
// time, written straight from the rules rather than from the block code.
static std::string reference(const std::string &in)
{
	std::string out;

	for (size_t i = 0; i < in.size(); i++) {
		char c = in[i];

		if (c == '\x1A')
			break;
		if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n')
			c = in[++i];
		if (c == '\n')
			out += '\r';
		out += c;
	}
	return out;
}

static std::string slurp(FILE *f)
{
	std::string data;
	char buf[4096];
	size_t n;

	rewind(f);
	while ((n = fread(buf, 1, sizeof buf, f)) > 0)
		data.append(buf, n);
	return data;
}

// Runs copy_text over `in` between two temporary files.
static std::string copied(const std::string &in, size_t block,
                          TextCopyResult *result)
{
	FILE *src = tmpfile(), *dst = tmpfile();
	std::string out;

	EXPECT_TRUE(src && dst);
	if (!src || !dst)
		return out;
	fwrite(in.data(), 1, in.size(), src);
	rewind(src);
	*result = copy_text(src, dst, block);
	out = slurp(dst);
	fclose(src);
	fclose(dst);
	return out;
}

static std::string copied(const std::string &in, size_t block)
{
	TextCopyResult result = TEXT_COPY_READ_ERROR;
	std::string out = copied(in, block, &result);

	EXPECT_EQ(TEXT_COPY_OK, result);
	return out;
}

#define S(literal) std::string((literal), sizeof(literal) - 1)

TEST(CopyText, Bytes)
{
	const struct {
		const char *name;
		std::string in, out;
	} rows[] = {
		{"LF only", S("a\nb\n"), S("a\r\nb\r\n")},
		{"LF LF", S("\n\n"), S("\r\n\r\n")},
		{"CR LF stays", S("a\r\nb\r\n"), S("a\r\nb\r\n")},
		{"lone CR stays", S("a\rb"), S("a\rb")},
		{"CR last", S("a\r"), S("a\r")},
		{"CR CR LF", S("a\r\r\nb"), S("a\r\r\nb")},
		{"LF CR", S("\n\r"), S("\r\n\r")},
		{"Ctrl-Z in the middle", S("ab\x1A" "cd\n"), S("ab")},
		{"Ctrl-Z first", S("\x1A" "ab"), S("")},
		{"Ctrl-Z right after CR", S("a\r\x1A\nb"), S("a\r")},
		{"0x00 passes", S("a\0b\n\0"), S("a\0b\r\n\0")},
		{"double-byte text", S("\x91\x97\x90\x4D\x94\xA0\n\x95\x5C\r\n"),
		 S("\x91\x97\x90\x4D\x94\xA0\r\n\x95\x5C\r\n")},
		{"all other bytes", S("\x01\x7F\x80\xFF\x1B\x0B\x0C"),
		 S("\x01\x7F\x80\xFF\x1B\x0B\x0C")},
		{"empty", S(""), S("")},
	};
	for (const auto &r : rows) {
		EXPECT_EQ(r.out, copied(r.in, TEXT_BLOCK_SIZE)) << r.name;
		EXPECT_EQ(r.out, reference(r.in)) << r.name << " (reference)";
	}
}

TEST(CopyText, BlockEdges)
{
	const struct {
		const char *name;
		std::string in;
		size_t block;
		std::string out;
	} rows[] = {
		{"CR LF split across the edge", S("abc\r\ndef"), 4,
		 S("abc\r\ndef")},
		{"LF first in a block after a plain byte", S("abcd\nx"), 4,
		 S("abcd\r\nx")},
		{"CR ends a block, then end of file", S("abc\r"), 4, S("abc\r")},
		{"CR ends a block, then a plain byte", S("abc\rd"), 4, S("abc\rd")},
		{"CR ends a block, Ctrl-Z begins the next", S("abc\r\x1A\n"), 4,
		 S("abc\r")},
		{"CR CR across the edge, then LF", S("abc\r\r\n"), 4,
		 S("abc\r\r\n")},
		{"one byte blocks", S("\r\n\n\r\rx\r"), 1, S("\r\n\r\n\r\rx\r")},
		{"0 reads as the largest block", S("a\nb"), 0, S("a\r\nb")},
	};
	for (const auto &r : rows)
		EXPECT_EQ(r.out, copied(r.in, r.block)) << r.name;
}

// Random texts rich in CR, LF and block edges, against the byte-at-a-time
// reference; a rare Ctrl-Z so that most of each text is copied.
TEST(CopyText, MatchesByteAtATimeReference)
{
	static const char alphabet[] = "\r\n\r\n\ra\0\x95\x5C";
	std::mt19937 rng(20240611);
	std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
	std::uniform_int_distribution<int> ctrl_z(0, 999);

	for (int round = 0; round < 400; round++) {
		size_t block = round % 4 == 0 ? rng() % 64 + 1
		                              : rng() % (TEXT_BLOCK_SIZE + 2);
		size_t len = round % 50 == 0 ? 3 * (size_t)TEXT_BLOCK_SIZE + rng() % 100
		                             : rng() % (3 * (block % 64) + 8);
		std::string in;

		for (size_t i = 0; i < len; i++)
			in += ctrl_z(rng) == 0 ? '\x1A' : alphabet[pick(rng)];
		std::string want = reference(in), got = copied(in, block);
		size_t at = 0;

		while (at < want.size() && at < got.size() && want[at] == got[at])
			at++;
		ASSERT_TRUE(want == got)
			<< "round " << round << ", block " << block << ", length "
			<< len << ": first difference at output byte " << at;
	}
}

TEST(CopyText, WriteErrorIsReported)
{
	const std::string texts[] = {S("a\n"), std::string(3 * (size_t)TEXT_BLOCK_SIZE, 'x')};

	for (const std::string &text : texts) {
		FILE *src = tmpfile(), *full = fopen("/dev/full", "wb");

		ASSERT_TRUE(src && full);
		fwrite(text.data(), 1, text.size(), src);
		rewind(src);
		// Small output stays in stdio's buffer until the flush.
		EXPECT_EQ(TEXT_COPY_WRITE_ERROR, copy_text(src, full, 0))
			<< text.size() << " bytes";
		fclose(src);
		fclose(full);
	}
}

TEST(CopyText, ReadErrorIsReported)
{
	char name[] = "/tmp/textcopy_test.XXXXXX";
	int fd = mkstemp(name);

	ASSERT_GE(fd, 0);
	close(fd);
	// Reading a stream opened for writing only fails.
	FILE *write_only = fopen(name, "wb"), *dst = tmpfile();
	ASSERT_TRUE(write_only && dst);
	EXPECT_EQ(TEXT_COPY_READ_ERROR, copy_text(write_only, dst, 0));
	fclose(write_only);
	fclose(dst);
	remove(name);
}
