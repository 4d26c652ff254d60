#pragma once
#include <windows.h>

#include <string>

namespace Corvell {

// "CLSID\{...}" of the view class.
std::string ClassKeyPath();

// Creates or opens root\path and writes the InprocServer32 path and the
// class description. ERROR_SUCCESS or the first failure.
LONG WriteClassEntries(HKEY root, const std::string& path, bool flush);

// Deletes root\path with every subkey, however deep. ERROR_SUCCESS when the
// key is gone (or never existed), else the first failure; never loops on a
// subkey that cannot be removed.
LONG DeleteKeyTree(HKEY root, const std::string& path);

// COM callers may pass a null REFIID; kept out of line so the compiler
// cannot assume a reference is never null.
bool IsNullReference(const void* p);

} // namespace Corvell
