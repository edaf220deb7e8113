#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

// GoogleTest's own printer also hands every failure and skip to
// OutputDebugStringA, which raises an exception; under qemu-i386 a 32-bit
// process with a second thread (gtest's, Wine's) dies of it, before its
// report is written. This main prints the same lines without that call.

namespace {

class Printer : public testing::TestEventListener {
 public:
  explicit Printer(testing::TestEventListener* inner) : inner_(inner) {}

  void OnTestPartResult(const testing::TestPartResult& result) override {
    if (result.type() == testing::TestPartResult::kSuccess) return;
    const char* what = result.skipped() ? "Skipped" : "Failure";
    if (result.file_name() != nullptr)
      std::printf("%s:%d: %s\n%s\n", result.file_name(), result.line_number(), what,
                  result.message());
    else
      std::printf("unknown file: %s\n%s\n", what, result.message());
    std::fflush(stdout);
  }

  void OnTestProgramStart(const testing::UnitTest& u) override { inner_->OnTestProgramStart(u); }
  void OnTestIterationStart(const testing::UnitTest& u, int i) override {
    inner_->OnTestIterationStart(u, i);
  }
  void OnEnvironmentsSetUpStart(const testing::UnitTest& u) override {
    inner_->OnEnvironmentsSetUpStart(u);
  }
  void OnEnvironmentsSetUpEnd(const testing::UnitTest& u) override {
    inner_->OnEnvironmentsSetUpEnd(u);
  }
  void OnTestSuiteStart(const testing::TestSuite& s) override { inner_->OnTestSuiteStart(s); }
  void OnTestStart(const testing::TestInfo& t) override { inner_->OnTestStart(t); }
  void OnTestEnd(const testing::TestInfo& t) override { inner_->OnTestEnd(t); }
  void OnTestSuiteEnd(const testing::TestSuite& s) override { inner_->OnTestSuiteEnd(s); }
  void OnEnvironmentsTearDownStart(const testing::UnitTest& u) override {
    inner_->OnEnvironmentsTearDownStart(u);
  }
  void OnEnvironmentsTearDownEnd(const testing::UnitTest& u) override {
    inner_->OnEnvironmentsTearDownEnd(u);
  }
  void OnTestIterationEnd(const testing::UnitTest& u, int i) override {
    inner_->OnTestIterationEnd(u, i);
  }
  void OnTestProgramEnd(const testing::UnitTest& u) override { inner_->OnTestProgramEnd(u); }

 private:
  std::unique_ptr<testing::TestEventListener> inner_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
  if (testing::TestEventListener* printer = listeners.default_result_printer())
    listeners.Append(new Printer(listeners.Release(printer)));
  return RUN_ALL_TESTS();
}
