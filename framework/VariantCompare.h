// VarCompareValue: the order of two variants of any kinds, as the maximum and minimum scans
// over variants use it.
#pragma once

#include "framework/Variants.h"

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan };

// The order across kinds:
// - Empty is less than every other value and equal only to Empty.
// - Integers, floating values and Booleans (False 0, True 1) compare as numbers.
// - Two strings compare byte by byte, case-sensitively ("B" < "a" < "b").
// - A string against a number compares as the number the whole string reads as
//   ("10" > 9 > "8.5"); a string that is no number raises EConvertError.
// - Any other kind raises EConvertError.
TVariantRelationship VarCompareValue(const TVariant& A, const TVariant& B);
