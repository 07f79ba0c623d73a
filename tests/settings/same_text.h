// Compares texts of any length; on a mismatch it reports lengths and the first difference
// instead of printing tens of thousands of characters.
#pragma once

#include <gtest/gtest.h>

#include <string>

inline ::testing::AssertionResult SameText(const std::wstring& actual,
                                           const std::wstring& expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    size_t firstDifference = 0;
    while (firstDifference < actual.size() && firstDifference < expected.size() &&
           actual[firstDifference] == expected[firstDifference]) {
        ++firstDifference;
    }
    return ::testing::AssertionFailure()
           << "got " << actual.size() << " units, expected " << expected.size()
           << "; they first differ at unit " << firstDifference;
}
