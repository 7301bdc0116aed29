// CString: wide text with UTF-8 at the edges. Invalid UTF-8 bytes map to U+DC80..U+DCFF and back,
// so any POSIX file name survives being held as a CString.
#include "lamina/cstring.h"

#include <algorithm>
#include <cwchar>

namespace {

std::wstring FromUtf8(const char* s, std::size_t n) {
  std::wstring out;
  out.reserve(n);
  std::size_t i = 0;
  auto raw = [&](unsigned char b) { out.push_back(static_cast<wchar_t>(0xDC00 + b)); };
  while (i < n) {
    const unsigned char b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
      out.push_back(static_cast<wchar_t>(b0));
      ++i;
      continue;
    }
    int len = 0;
    std::uint32_t cp = 0, min = 0;
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1Fu; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0Fu; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07u; min = 0x10000; }
    bool ok = len > 0 && i + static_cast<std::size_t>(len) <= n;
    for (int k = 1; ok && k < len; ++k) {
      const unsigned char b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((b & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (b & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      raw(b0);
      ++i;
      continue;
    }
    out.push_back(static_cast<wchar_t>(cp));
    i += static_cast<std::size_t>(len);
  }
  return out;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp >= 0xDC80 && cp <= 0xDCFF) {  // a byte that was not valid UTF-8 when it came in
    out.push_back(static_cast<char>(cp - 0xDC00));
  } else if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp <= 0x10FFFF) {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    AppendUtf8(out, 0xFFFD);
  }
}

int Clip(int v, int lo, int hi) { return std::min(std::max(v, lo), hi); }

}  // namespace

CString::CString() = default;
CString::CString(const wchar_t* text) : m_text(text != nullptr ? text : L"") {}
CString::CString(const char* utf8)
    : m_text(utf8 != nullptr ? FromUtf8(utf8, std::char_traits<char>::length(utf8)) : L"") {}
CString::CString(const std::wstring& text) : m_text(text) {}
CString::CString(const std::string& utf8) : m_text(FromUtf8(utf8.data(), utf8.size())) {}
CString::CString(wchar_t ch, int repeat)
    : m_text(static_cast<std::size_t>(std::max(repeat, 0)), ch) {}

int CString::GetLength() const { return static_cast<int>(m_text.size()); }
bool CString::IsEmpty() const { return m_text.empty(); }
void CString::Empty() { m_text.clear(); }
wchar_t CString::GetAt(int index) const {
  return index >= 0 && index < GetLength() ? m_text[static_cast<std::size_t>(index)] : L'\0';
}
wchar_t CString::operator[](int index) const { return GetAt(index); }
CString::operator LPCTSTR() const { return m_text.c_str(); }
const wchar_t* CString::GetString() const { return m_text.c_str(); }

CString CString::Left(int count) const {
  return CString(m_text.substr(0, static_cast<std::size_t>(Clip(count, 0, GetLength()))));
}
CString CString::Mid(int first) const { return Mid(first, GetLength()); }
CString CString::Mid(int first, int count) const {
  const int f = Clip(first, 0, GetLength());
  const int c = Clip(count, 0, GetLength() - f);
  return CString(m_text.substr(static_cast<std::size_t>(f), static_cast<std::size_t>(c)));
}
CString CString::Right(int count) const {
  const int c = Clip(count, 0, GetLength());
  return CString(m_text.substr(static_cast<std::size_t>(GetLength() - c)));
}
int CString::Find(wchar_t ch, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  const auto pos = m_text.find(ch, static_cast<std::size_t>(start));
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}
int CString::Find(const wchar_t* sub, int start) const {
  if (sub == nullptr || start < 0 || start > GetLength()) return -1;
  const auto pos = m_text.find(sub, static_cast<std::size_t>(start));
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}
int CString::ReverseFind(wchar_t ch) const {
  const auto pos = m_text.rfind(ch);
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString& CString::operator=(const wchar_t* text) {
  m_text = text != nullptr ? text : L"";
  return *this;
}
CString& CString::operator=(const char* utf8) { return *this = CString(utf8); }
CString& CString::operator+=(const CString& other) {
  m_text += other.m_text;
  return *this;
}
CString& CString::operator+=(wchar_t ch) {
  m_text.push_back(ch);
  return *this;
}
int CString::Compare(const wchar_t* other) const {
  return m_text.compare(other != nullptr ? other : L"");
}

std::string CString::ToUtf8() const {
  std::string out;
  out.reserve(m_text.size());
  for (wchar_t c : m_text) AppendUtf8(out, static_cast<std::uint32_t>(c));
  return out;
}
const std::wstring& CString::Wide() const { return m_text; }

CString operator+(const CString& a, const CString& b) { return CString(a.Wide() + b.Wide()); }
CString operator+(const CString& a, const wchar_t* b) { return a + CString(b); }
CString operator+(const wchar_t* a, const CString& b) { return CString(a) + b; }
CString operator+(const CString& a, wchar_t b) { return CString(a.Wide() + b); }
bool operator==(const CString& a, const CString& b) { return a.Wide() == b.Wide(); }
bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
bool operator==(const CString& a, const char* b) { return a == CString(b); }
bool operator==(const char* a, const CString& b) { return CString(a) == b; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Wide() < b.Wide(); }
