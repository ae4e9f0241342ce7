// The catalogue's field readers: each reads one value of a JSON object, checks its type and
// range, and on a fault throws a CatalogueError that says where in the file it lies.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "morva_service/types.h"

namespace morva_service {
namespace detail {

// ordered_json keeps the file's order of information rows and resource properties.
using Json = nlohmann::ordered_json;

struct CatalogueError {
  std::string where;
  std::string problem;
};

[[noreturn]] void Fail(const std::string& where, const std::string& problem);

std::string Quote(const std::string& text);
std::string Join(const std::string& where, const std::string& key);
std::string Index(const std::string& where, size_t index);
const char* TypeName(const Json& value);

void ExpectObject(const Json& value, const std::string& where);
void ExpectArray(const Json& value, const std::string& where);
void OnlyKeys(const Json& object, const std::string& where, std::initializer_list<const char*> allowed);

bool HasLineBreak(const std::string& text);
bool HasNul(const std::string& text);
void ExpectOneLine(const std::string& text, const std::string& where);

std::string String(const Json& object, const char* key, const std::string& where, bool required,
                   const std::string& fallback = std::string());
std::string Token(const Json& object, const char* key, const std::string& where, bool required,
                  const std::string& fallback = std::string());
double Number(const Json& object, const char* key, const std::string& where, double fallback,
              double low, double high);
int Integer(const Json& object, const char* key, const std::string& where, int fallback, int low, int high);
bool Boolean(const Json& object, const char* key, const std::string& where, bool fallback);
int Choice(const Json& object, const char* key, const std::string& where, int fallback,
           std::initializer_list<std::pair<const char*, int>> names);

ProductVersion Version(const Json& value, const std::string& where);
std::vector<std::string> Words(const Json& value, const std::string& where, bool allow_code);

}  // namespace detail
}  // namespace morva_service
