// The keyword test by which the tools recognise keyword arguments.
#ifndef CORE_KEYWORD_H
#define CORE_KEYWORD_H

#include <stddef.h>

// True when `arg` begins with the whole of `keyword`: the ASCII letters
// A to Z equal a to z, every other byte must be the same. Whatever
// follows the keyword in `arg` is not looked at.
bool keyword_matches(const char *arg, const char *keyword);

// The first row of `table`, in table order, whose `keyword` the argument
// begins with; null when none does.
template <typename Row, size_t N>
const Row *find_keyword(const char *arg, const Row (&table)[N])
{
	for (const Row &row : table)
		if (keyword_matches(arg, row.keyword))
			return &row;
	return nullptr;
}

#endif
