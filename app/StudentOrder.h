#pragma once
// The order of the students in the tree: by a key in capitals with the
// Polish letters folded, equal keys keeping the order of the student list.
#include <string>
#include <vector>

// "a".."z" become capitals, then the 18 Polish letters become plain
// capitals; every other byte (other accented letters included) stays.
std::string strFunStudentSortKey(const std::string& displayName);

// The display names sorted by their keys, stable.
std::vector<std::string> vFunSortStudentNames(const std::vector<std::string>& names);
