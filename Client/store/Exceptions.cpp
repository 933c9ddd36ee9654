#include "store/Exceptions.h"

#include "store/ErrorText.h"

CWin32Exception::CWin32Exception(DWORD code, const std::wstring& text)
    : CException(text.empty() ? FormatErrorText(code) : text, code) {}
