// Raising the port's errors.
#include "comm/CommErrors.h"

#include "framework/Exceptions.h"

void RaiseCommError(std::string_view Text, long Code) { throw Exception(Text, Code); }
