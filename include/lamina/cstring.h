// A wide-character string with the members ported MFC code uses. Text is held as wchar_t; it is built
// from UTF-8 where narrow text comes in and turned back into UTF-8 at the file-system edge. Bytes that
// are not valid UTF-8 (a file name is any bytes on POSIX) survive the round trip: each becomes one of
// the code points U+DC80..U+DCFF and is written back as the same byte.
#pragma once

#include <string>

#include "lamina/export.h"
#include "lamina/wintypes.h"

class LAMINA_API CString {
 public:
  CString();
  CString(const wchar_t* text);         // NOLINT: implicit, as in MFC
  CString(const char* utf8);            // NOLINT
  CString(const std::wstring& text);    // NOLINT
  CString(const std::string& utf8);     // NOLINT
  CString(wchar_t ch, int repeat = 1);  // NOLINT

  int GetLength() const;
  bool IsEmpty() const;
  void Empty();
  wchar_t GetAt(int index) const;
  wchar_t operator[](int index) const;
  operator LPCTSTR() const;  // NOLINT: implicit, as in MFC
  const wchar_t* GetString() const;

  // Parts of the string; counts and positions outside the string are limited to it, as in MFC.
  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;
  // Positions of the first (from `start`) or last occurrence, or -1.
  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* sub, int start = 0) const;
  int ReverseFind(wchar_t ch) const;

  CString& operator=(const wchar_t* text);
  CString& operator=(const char* utf8);
  CString& operator+=(const CString& other);
  CString& operator+=(wchar_t ch);

  int Compare(const wchar_t* other) const;

  // The text as UTF-8 (for file names) and as a std::wstring.
  std::string ToUtf8() const;
  const std::wstring& Wide() const;

 private:
  std::wstring m_text;
};

LAMINA_API CString operator+(const CString& a, const CString& b);
LAMINA_API CString operator+(const CString& a, const wchar_t* b);
LAMINA_API CString operator+(const wchar_t* a, const CString& b);
LAMINA_API CString operator+(const CString& a, wchar_t b);
LAMINA_API bool operator==(const CString& a, const CString& b);
LAMINA_API bool operator==(const CString& a, const wchar_t* b);
LAMINA_API bool operator==(const wchar_t* a, const CString& b);
LAMINA_API bool operator==(const CString& a, const char* b);
LAMINA_API bool operator==(const char* a, const CString& b);
LAMINA_API bool operator!=(const CString& a, const CString& b);
LAMINA_API bool operator!=(const CString& a, const wchar_t* b);
LAMINA_API bool operator!=(const wchar_t* a, const CString& b);
LAMINA_API bool operator!=(const CString& a, const char* b);
LAMINA_API bool operator!=(const char* a, const CString& b);
LAMINA_API bool operator<(const CString& a, const CString& b);
