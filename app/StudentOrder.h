#pragma once
// The order of the students in the tree: by a key in capitals with the
// Polish letters folded, equal keys keeping the order of the student list.
#include <cstddef>
#include <string>
#include <vector>

// "a".."z" become capitals, then the 18 Polish letters become plain
// capitals; every other byte (other accented letters included) stays.
std::string strFunStudentSortKey(const std::string& displayName);

// Whether key a sorts after key b: bytes compare as unsigned values, a key
// that begins a longer one comes first.
bool bFunKeyGreater(const std::string& a, const std::string& b);

// The positions of the display names in the order of their keys; equal
// keys keep the order of the list.
std::vector<std::size_t> vFunStudentOrder(const std::vector<std::string>& names);
