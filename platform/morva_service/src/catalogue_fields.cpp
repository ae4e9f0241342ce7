#include "catalogue_fields.h"

#include <cmath>
#include <sstream>

#include "catalogue.h"

namespace morva_service {
namespace detail {

void Fail(const std::string& where, const std::string& problem) {
  throw CatalogueError{where, problem};
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

std::string Join(const std::string& where, const std::string& key) {
  return where.empty() ? key : where + "." + key;
}

std::string Index(const std::string& where, size_t index) {
  return where + "[" + std::to_string(index) + "]";
}

const char* TypeName(const Json& value) { return value.type_name(); }

void ExpectObject(const Json& value, const std::string& where) {
  if (!value.is_object()) Fail(where, std::string("expected an object, found ") + TypeName(value));
}

void ExpectArray(const Json& value, const std::string& where) {
  if (!value.is_array()) Fail(where, std::string("expected an array, found ") + TypeName(value));
}

// Misspelt keys would otherwise be ignored silently and the script would not do what it says.
void OnlyKeys(const Json& object, const std::string& where,
              std::initializer_list<const char*> allowed) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    bool known = false;
    for (const char* key : allowed) known = known || it.key() == key;
    if (!known) Fail(Join(where, it.key()), "unknown key");
  }
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

// Texts end up on lines of the diagnostics log, and in the programs as C strings.
void ExpectOneLine(const std::string& text, const std::string& where) {
  if (HasLineBreak(text)) Fail(where, "contains a line break");
  if (HasNul(text)) Fail(where, "contains a NUL byte");
}

std::string String(const Json& object, const char* key, const std::string& where, bool required,
                   const std::string& fallback) {
  auto it = object.find(key);
  if (it == object.end()) {
    if (required) Fail(Join(where, key), "missing");
    return fallback;
  }
  if (!it->is_string()) Fail(Join(where, key), std::string("expected a string, found ") + TypeName(*it));
  std::string text = it->get<std::string>();
  ExpectOneLine(text, Join(where, key));
  return text;
}

std::string Token(const Json& object, const char* key, const std::string& where, bool required,
                  const std::string& fallback) {
  std::string text = String(object, key, where, required, fallback);
  if ((required || !text.empty()) && !IsToken(text))
    Fail(Join(where, key), Quote(text) + " must be one word without blanks");
  return text;
}

double Number(const Json& object, const char* key, const std::string& where, double fallback,
              double low, double high) {
  auto it = object.find(key);
  if (it == object.end()) return fallback;
  if (!it->is_number()) Fail(Join(where, key), std::string("expected a number, found ") + TypeName(*it));
  double value = it->get<double>();
  if (!std::isfinite(value) || value < low || value > high) {
    std::ostringstream range;
    range << "must lie between " << low << " and " << high;
    Fail(Join(where, key), range.str());
  }
  return value;
}

int Integer(const Json& object, const char* key, const std::string& where, int fallback,
            int low, int high) {
  auto it = object.find(key);
  if (it == object.end()) return fallback;
  if (!it->is_number_integer())
    Fail(Join(where, key), std::string("expected a whole number, found ") + TypeName(*it));
  int64_t value = it->get<int64_t>();
  if (value < low || value > high)
    Fail(Join(where, key),
         "must lie between " + std::to_string(low) + " and " + std::to_string(high));
  return static_cast<int>(value);
}

bool Boolean(const Json& object, const char* key, const std::string& where, bool fallback) {
  auto it = object.find(key);
  if (it == object.end()) return fallback;
  if (!it->is_boolean()) Fail(Join(where, key), std::string("expected true or false, found ") + TypeName(*it));
  return it->get<bool>();
}

ProductVersion Version(const Json& value, const std::string& where) {
  if (!value.is_string()) Fail(where, "expected a version text such as \"1.2.3.4\"");
  std::string text = value.get<std::string>();
  uint32_t parts[4] = {0, 0, 0, 0};
  size_t count = 0;
  size_t position = 0;
  while (count < 4) {
    size_t end = text.find('.', position);
    std::string piece = text.substr(position, end == std::string::npos ? std::string::npos : end - position);
    if (piece.empty() || piece.size() > 9 || piece.find_first_not_of("0123456789") != std::string::npos)
      Fail(where, Quote(text) + " is not a version of four numbers such as \"1.2.3.4\"");
    parts[count++] = static_cast<uint32_t>(std::stoul(piece));
    if (end == std::string::npos) break;
    position = end + 1;
  }
  if (count != 4) Fail(where, Quote(text) + " is not a version of four numbers such as \"1.2.3.4\"");
  return ProductVersion(parts[0], parts[1], parts[2], parts[3]);
}

std::vector<std::string> Words(const Json& value, const std::string& where, bool allow_code) {
  ExpectArray(value, where);
  std::vector<std::string> words;
  for (size_t i = 0; i < value.size(); ++i) {
    if (!value[i].is_string()) Fail(Index(where, i), "expected a string");
    std::string word = value[i].get<std::string>();
    if (!IsToken(word)) Fail(Index(where, i), Quote(word) + " must be one word without blanks");
    if (!allow_code && word == "CODE") Fail(Index(where, i), "the word CODE is reserved for the code");
    words.push_back(word);
  }
  return words;
}

int Choice(const Json& object, const char* key, const std::string& where, int fallback,
           std::initializer_list<std::pair<const char*, int>> names) {
  std::string name = String(object, key, where, false);
  if (name.empty()) return fallback;
  std::string expected;
  for (const auto& entry : names) {
    if (name == entry.first) return entry.second;
    expected += (expected.empty() ? "" : ", ") + std::string(entry.first);
  }
  Fail(Join(where, key), "unknown value " + Quote(name) + " (expected " + expected + ")");
}

}  // namespace detail
}  // namespace morva_service
