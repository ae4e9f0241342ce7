#include "fake_modules.h"

namespace fakes {

Catalogue::Catalogue() {
  auto option = [this](const char* letter, const char* name, int requirement) {
    options_.push_back(std::make_unique<Option>(letter, name, requirement));
    return options_.back().get();
  };
  auto test = [this](const char* name, ItemIdentifier id) {
    tests_.push_back(std::make_unique<Test>(name, id));
    return tests_.back().get();
  };
  auto device = [this](const char* id) {
    devices_.push_back(std::make_unique<Device>(id));
    Device* d = devices_.back().get();
    d->information_.display_name = std::string("DISK_") + id;
    d->information_.properties = {{"MODEL", "M" + std::string(id)}};
    return d;
  };

  modules_.push_back(std::make_unique<Module>("Storage"));
  storage = modules_.back().get();
  storage->version_ = std::make_unique<ProductVersion>(2, 4, 1, 310);
  const ItemIdentifier quick{1, 1, 0}, long_run{1, 2, 0};
  const ItemIdentifier read{1, 1, 1}, verify{1, 1, 2};
  diagnostics_.push_back(std::make_unique<Diagnostic>("QUICK", quick));
  Diagnostic* q = diagnostics_.back().get();
  q->tests_ = {test("READ", read), test("VERIFY", verify)};
  diagnostics_.push_back(std::make_unique<Diagnostic>("LONG", long_run));
  Diagnostic* p = diagnostics_.back().get();
  p->tests_ = {test("READ", read)};
  storage->diagnostics_ = {q, p};
  storage->diagnostic_options_[quick] = option("Q", "quick", CommandLineOptionView::kNoArguments);
  storage->diagnostic_options_[long_run] = option("P", "long", CommandLineOptionView::kNoArguments);
  storage->test_options_[read] = option("f", "read", CommandLineOptionView::kNoArguments);
  storage->test_options_[verify] = option("r", "verify", CommandLineOptionView::kNeedsArguments);
  storage->devices_ = {device("0"), device("1")};
  tools_.push_back(std::make_unique<Tool>("Bad|Sectors", "recover"));
  storage->tools_ = {tools_.back().get()};

  // Memory: "S" is the host's, the empty letter and ":" are unusable, "X" is free; "quick" is
  // storage's long name too, and "help" is the host's.
  modules_.push_back(std::make_unique<Module>("memory"));
  memory = modules_.back().get();
  const ItemIdentifier m1{2, 1, 0}, m2{2, 2, 0}, m3{2, 3, 0}, m4{2, 4, 0}, m5{2, 5, 0};
  const ItemIdentifier pattern{2, 1, 1};
  const char* names[] = {"MEM_QUICK", "MEM_SCAN", "MEM_EMPTY", "MEM_COLON", "MEM_HELP"};
  const ItemIdentifier ids[] = {m1, m2, m3, m4, m5};
  for (int i = 0; i < 5; ++i) {
    diagnostics_.push_back(std::make_unique<Diagnostic>(names[i], ids[i]));
    diagnostics_.back()->tests_ = {test("PATTERN", pattern)};
    memory->diagnostics_.push_back(diagnostics_.back().get());
  }
  memory->diagnostic_options_[m1] = option("X", "quick", CommandLineOptionView::kNoArguments);
  memory->diagnostic_options_[m2] = option("S", "memscan", CommandLineOptionView::kNoArguments);
  memory->diagnostic_options_[m3] = option("", "memempty", CommandLineOptionView::kNoArguments);
  memory->diagnostic_options_[m4] = option(":", "memcolon", CommandLineOptionView::kNoArguments);
  memory->diagnostic_options_[m5] = option("H", "help", CommandLineOptionView::kNoArguments);
  memory->test_options_[pattern] = option("p", "pattern", CommandLineOptionView::kNoArguments);
  memory->devices_ = {device("DIMM0")};

  modules = {storage, memory};
}

}  // namespace fakes
