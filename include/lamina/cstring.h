/// @file
///
/// CString, the wide-character string of the interface (file names and their parts).
#pragma once

#include <string>

#include "lamina/export.h"
#include "lamina/wintypes.h"

/// A wide-character string with the members code written for Windows-style strings uses.
///
/// Text is held as wchar_t. Narrow text coming in is read as UTF-8, and text going to the file
/// system is turned back into UTF-8. Bytes that are not valid UTF-8 (a POSIX file name may hold any
/// bytes) survive the round trip: each becomes one of the code points U+DC80..U+DCFF and is written
/// back as the same byte. Positions and counts are in wide characters; arguments outside the
/// string are limited to it, never an error.
class LAMINA_API CString {
 public:
  /// An empty string.
  CString();
  /// A copy of wide text.
  /// @param text null-terminated wide text; null gives an empty string.
  CString(const wchar_t* text);  // NOLINT: implicit, so string literals convert
  /// Text from UTF-8.
  /// @param utf8 null-terminated UTF-8 (invalid bytes are kept as described above); null gives an
  ///        empty string.
  CString(const char* utf8);  // NOLINT
  /// A copy of a wide string.
  /// @param text the text.
  CString(const std::wstring& text);  // NOLINT
  /// Text from UTF-8.
  /// @param utf8 UTF-8 text, embedded zero bytes included.
  CString(const std::string& utf8);  // NOLINT
  /// One character repeated.
  /// @param ch the character.
  /// @param repeat how many times; 0 or less gives an empty string.
  CString(wchar_t ch, int repeat = 1);  // NOLINT

  /// @return the length in wide characters.
  int GetLength() const;
  /// @return true when the string holds no character.
  bool IsEmpty() const;
  /// Makes the string empty.
  void Empty();
  /// One character.
  /// @param index the position, from 0.
  /// @return the character; L'\0' for a position outside the string.
  wchar_t GetAt(int index) const;
  /// One character, as GetAt().
  /// @param index the position, from 0.
  /// @return the character; L'\0' for a position outside the string.
  wchar_t operator[](int index) const;
  /// The text as a null-terminated wide string, valid until the string changes or is destroyed.
  operator LPCTSTR() const;  // NOLINT: implicit, as Windows-style code expects
  /// @return the text as a null-terminated wide string, valid until the string changes or is
  ///         destroyed.
  const wchar_t* GetString() const;

  /// The first characters.
  /// @param count how many; limited to 0..GetLength().
  /// @return the part.
  CString Left(int count) const;
  /// The characters from a position to the end.
  /// @param first the first position; limited to 0..GetLength().
  /// @return the part.
  CString Mid(int first) const;
  /// Some characters from a position.
  /// @param first the first position; limited to 0..GetLength().
  /// @param count how many; limited to what is left after first.
  /// @return the part.
  CString Mid(int first, int count) const;
  /// The last characters.
  /// @param count how many; limited to 0..GetLength().
  /// @return the part.
  CString Right(int count) const;
  /// Finds a character.
  /// @param ch the character.
  /// @param start the position to search from.
  /// @return the first position at or after start; -1 when there is none or start is outside
  ///         0..GetLength().
  int Find(wchar_t ch, int start = 0) const;
  /// Finds a substring.
  /// @param sub null-terminated wide text; null finds nothing.
  /// @param start the position to search from.
  /// @return the first position at or after start; -1 when there is none or start is outside
  ///         0..GetLength().
  int Find(const wchar_t* sub, int start = 0) const;
  /// Finds the last occurrence of a character.
  /// @param ch the character.
  /// @return its position; -1 when there is none.
  int ReverseFind(wchar_t ch) const;

  /// Replaces the text.
  /// @param text null-terminated wide text; null empties the string.
  /// @return this string.
  CString& operator=(const wchar_t* text);
  /// Replaces the text by UTF-8 text.
  /// @param utf8 null-terminated UTF-8; null empties the string.
  /// @return this string.
  CString& operator=(const char* utf8);
  /// Appends a string.
  /// @param other the text to append.
  /// @return this string.
  CString& operator+=(const CString& other);
  /// Appends a character.
  /// @param ch the character.
  /// @return this string.
  CString& operator+=(wchar_t ch);

  /// Compares with wide text, character by character.
  /// @param other null-terminated wide text; null counts as empty.
  /// @return 0 when equal; a negative number when this string sorts first; a positive one when it
  ///         sorts after.
  int Compare(const wchar_t* other) const;

  /// @return the text as UTF-8 (how file names reach the system).
  std::string ToUtf8() const;
  /// @return the text as a wide string.
  const std::wstring& Wide() const;

 private:
  std::wstring m_text;
};

///@{
/// A new string holding the left text followed by the right.
/// @param a the left part.
/// @param b the right part.
/// @return the joined string.
LAMINA_API CString operator+(const CString& a, const CString& b);
LAMINA_API CString operator+(const CString& a, const wchar_t* b);
LAMINA_API CString operator+(const wchar_t* a, const CString& b);
LAMINA_API CString operator+(const CString& a, wchar_t b);
///@}

///@{
/// Whether two texts are equal, character by character (narrow text is read as UTF-8, null as
/// empty).
/// @param a one text.
/// @param b the other.
/// @return true when equal.
LAMINA_API bool operator==(const CString& a, const CString& b);
LAMINA_API bool operator==(const CString& a, const wchar_t* b);
LAMINA_API bool operator==(const wchar_t* a, const CString& b);
LAMINA_API bool operator==(const CString& a, const char* b);
LAMINA_API bool operator==(const char* a, const CString& b);
///@}
///@{
/// Whether two texts differ, character by character (narrow text is read as UTF-8, null as empty).
/// @param a one text.
/// @param b the other.
/// @return true when they differ.
LAMINA_API bool operator!=(const CString& a, const CString& b);
LAMINA_API bool operator!=(const CString& a, const wchar_t* b);
LAMINA_API bool operator!=(const wchar_t* a, const CString& b);
LAMINA_API bool operator!=(const CString& a, const char* b);
LAMINA_API bool operator!=(const char* a, const CString& b);
///@}
/// Orders two strings character by character (for sorted containers).
/// @param a one string.
/// @param b the other.
/// @return true when a sorts before b.
LAMINA_API bool operator<(const CString& a, const CString& b);
