#include "store/ErrorText.h"
#include "store/Exceptions.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <cwctype>

namespace {

// What FormatMessageW itself says, untrimmed: Wine's texts differ from Windows', so the
// expectations are derived from the system rather than written down.
std::wstring RawSystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    ::LocalFree(buffer);
    return text;
}

void SetThreadErrorDescription(const wchar_t* description) {
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(S_OK, ::CreateErrorInfo(&create));
    create->SetDescription(const_cast<wchar_t*>(description));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(S_OK, create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)));
    ASSERT_EQ(S_OK, ::SetErrorInfo(0, info));
    info->Release();
    create->Release();
}

std::wstring TextOfThrowIfFailed(HRESULT hr) {
    try {
        ThrowIfFailed(hr);
    } catch (const CComException& e) {
        EXPECT_EQ(static_cast<DWORD>(hr), e.GetCode());
        return e.GetText();
    }
    ADD_FAILURE() << "no exception for " << std::hex << hr;
    return {};
}

} // namespace

TEST(ErrorText, SuccessCodesRaiseNothing) {
    EXPECT_NO_THROW(ThrowIfWin32Error(ERROR_SUCCESS));
    EXPECT_NO_THROW(ThrowIfFailed(S_OK));
    EXPECT_NO_THROW(ThrowIfFailed(S_FALSE));
    EXPECT_NO_THROW(ThrowIfFailed(0x00040200));
}

TEST(ErrorText, SystemTextLosesOnlyItsTrailingWhiteSpace) {
    const std::wstring raw = RawSystemText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(raw.empty());
    std::wstring expected = raw;
    while (!expected.empty() && std::iswspace(expected.back())) {
        expected.pop_back();
    }
    const std::wstring text = FormatErrorText(ERROR_ACCESS_DENIED);
    EXPECT_EQ(expected, text);
    ASSERT_FALSE(text.empty());
    EXPECT_FALSE(std::iswspace(text.back()));
    EXPECT_EQ(std::wstring(), FormatErrorText(0x2FFFFFFF)) << "no message: empty, not garbage";
}

TEST(ErrorText, Win32ExceptionWithEmptyTextCarriesTheSystemMessage) {
    const CWin32Exception fromCode(ERROR_ACCESS_DENIED, L"");
    EXPECT_EQ(FormatErrorText(ERROR_ACCESS_DENIED), fromCode.GetText());
    EXPECT_EQ(5u, fromCode.GetCode());

    const CWin32Exception withText(ERROR_ACCESS_DENIED, L"own words");
    EXPECT_EQ(L"own words", withText.GetText());

    try {
        ThrowIfWin32Error(ERROR_FILE_NOT_FOUND);
        FAIL();
    } catch (const CException& e) {
        EXPECT_EQ(FormatErrorText(ERROR_FILE_NOT_FOUND), e.GetText());
        EXPECT_EQ(2u, e.GetCode());
    }
}

TEST(ErrorText, FailedHResultWithoutAnyTextGetsTheFallbackForms) {
    // Both Windows and Wine have no message for these; guard the assumption anyway.
    for (HRESULT hr :
         {HRESULT(0x80040201), HRESULT(0x80040200), HRESULT(0x8004FFFF), HRESULT(0xA0001234)}) {
        ASSERT_EQ(std::wstring(), FormatErrorText(static_cast<DWORD>(hr))) << std::hex << hr;
    }
    EXPECT_EQ(L"IDispatch error #1", TextOfThrowIfFailed(0x80040201));
    EXPECT_EQ(L"IDispatch error #65023", TextOfThrowIfFailed(0x8004FFFF));
    EXPECT_EQ(L"Unknown error 0x80040200", TextOfThrowIfFailed(0x80040200));
    EXPECT_EQ(L"Unknown error 0xA0001234", TextOfThrowIfFailed(0xA0001234));
}

TEST(ErrorText, FailedHResultPrefersTheSystemText) {
    EXPECT_EQ(FormatErrorText(static_cast<DWORD>(E_ACCESSDENIED)),
              TextOfThrowIfFailed(E_ACCESSDENIED));
    EXPECT_FALSE(TextOfThrowIfFailed(E_ACCESSDENIED).empty());
}

TEST(ErrorText, ThreadErrorObjectWinsEvenWithAnEmptyDescription) {
    SetThreadErrorDescription(L"The widget is jammed.");
    EXPECT_EQ(L"The widget is jammed.", TextOfThrowIfFailed(E_FAIL));

    SetThreadErrorDescription(L"");
    EXPECT_EQ(L"", TextOfThrowIfFailed(E_FAIL));

    // The error object is consumed: the next failure falls back to the system text.
    EXPECT_EQ(FormatErrorText(static_cast<DWORD>(E_FAIL)), TextOfThrowIfFailed(E_FAIL));
}
