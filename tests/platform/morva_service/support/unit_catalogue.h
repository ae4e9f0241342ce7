// A small catalogue that the contract and log tests share, and an engine over it: two devices,
// two diagnostics of three tests each. With ctest's time scale of 0.01 the short tests take a few
// milliseconds and T_LONG ten seconds, so only an abort ends it early.
#pragma once

#include <gtest/gtest.h>

#include "engine_support.h"

namespace engine_test {

inline const char* UnitCatalogue() {
  return R"json({
  "product_version": "7.6.5.4",
  "modules": [{
    "name": "unit",
    "help": "UNIT_HELP",
    "version": "1.0.0.1",
    "devices": [
      {"id": "a", "udi": "UNIT\\A", "display_name": "UNIT_A",
       "rows": {"MODEL": "M-1", "EMPTY_ROW": "  ", "NOTE": "two  words"}},
      {"id": "b", "udi": "UNIT\\B", "display_name": "UNIT_B",
       "resources": [{"name": "SLOT", "properties": {"INDEX": "7", "SIZE": "1 GB"}},
                     {"name": "SLOT", "properties": {"SIZE": "2 GB", "LABEL": "X:\\"}}]}],
    "diagnostics": [
      {"id": "1.1.0", "name": "FIRST", "tests": [
        {"id": "1.1.1", "name": "T_ONE", "outcome": {"duration": 0.5,
          "progress": [{"percent": 40, "text": "HALF_WAY"}, 100]}},
        {"id": "1.1.2", "name": "T_TWO", "outcome": {"duration": 0.5, "status": "warning",
          "messages": [{"kind": "WARNING", "words": ["W_ONE", "W_TWO"], "code": "9", "at": 50}]}},
        {"id": "1.1.3", "name": "T_THREE", "devices": ["a"], "outcome": {"duration": 0.5, "status": "failed"}}]},
      {"id": "1.2.0", "name": "SECOND", "tests": [
        {"id": "1.2.1", "name": "T_LONG", "outcome": {"duration": 1000}},
        {"id": "1.2.2", "name": "T_ASK", "outcome": {"duration": 0.5,
          "interaction": {"title": "ASK_TITLE", "message": "ASK_TEXT", "kind": "warning", "buttons": "ok_cancel",
                          "fields": ["FIELD_ONE", "FIELD_TWO"], "at": 20, "default_answer": 2,
                          "answers": {"1": {"status": "passed"},
                                      "2": {"status": "failed",
                                            "messages": [{"kind": "ERROR", "words": ["REFUSED"], "code": "3"}]},
                                      "0": {"status": "not_applicable", "finish_now": true}}}}},
        {"id": "1.2.3", "name": "T_PARAM",
         "parameters": {"min": 1, "max": 2, "integer_range": [1, 10], "default": ["5"]},
         "outcome": {"duration": 0.5}}]}],
    "diagnostic_options": [{"id": "1.1.0", "letter": "F", "long_name": "first"},
                           {"id": "1.2.0", "letter": "N", "long_name": "second"}],
    "test_options": [{"id": "1.1.1", "letter": "o", "long_name": "one"},
                     {"id": "1.2.3", "letter": "p", "long_name": "param", "arguments": "required"}]
  }, {
    "name": "other",
    "devices": [{"id": "a", "udi": "OTHER\\A", "display_name": "OTHER_A"}],
    "diagnostics": [{"id": "9.1.0", "name": "OTHER_DIAG", "tests": [{"id": "9.1.1", "name": "OTHER_TEST"}]}]
  }]
})json";
}

// A fresh engine over that catalogue, its devices scanned and its suite notifications recorded.
class UnitEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine = FreshEngine(UnitCatalogue());
    ASSERT_NE(engine, nullptr);
    module = LoadedModule(engine, "unit");
    ASSERT_NE(module, nullptr);
    device_a = ScannedDevice(module, "a");
    device_b = ScannedDevice(module, "b");
    ASSERT_TRUE(device_a && device_b);
    first = Diagnostic(module, "FIRST");
    second = Diagnostic(module, "SECOND");
    engine->set_suite_listener(&suite);
    engine->set_test_listener(nullptr);
  }
  void TearDown() override { DropEngine(); }

  morva_service::MorvaService* engine = nullptr;
  morva_service::ModuleInterfaceView* module = nullptr;
  morva_service::SystemComponentView* device_a = nullptr;
  morva_service::SystemComponentView* device_b = nullptr;
  morva_service::DiagnosticView* first = nullptr;
  morva_service::DiagnosticView* second = nullptr;
  RecordingSuiteListener suite;
};

}  // namespace engine_test
