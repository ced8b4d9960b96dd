#include "result_printer.h"

#include <cstdio>
#include <memory>

namespace zeltest {
namespace {

class ResultPrinter : public testing::TestEventListener {
public:
    explicit ResultPrinter(testing::TestEventListener* inner) : inner_(inner) {}

    void OnTestProgramStart(const testing::UnitTest& u) override { inner_->OnTestProgramStart(u); }
    void OnTestIterationStart(const testing::UnitTest& u, int i) override { inner_->OnTestIterationStart(u, i); }
    void OnEnvironmentsSetUpStart(const testing::UnitTest& u) override { inner_->OnEnvironmentsSetUpStart(u); }
    void OnEnvironmentsSetUpEnd(const testing::UnitTest& u) override { inner_->OnEnvironmentsSetUpEnd(u); }
    void OnTestSuiteStart(const testing::TestSuite& s) override { inner_->OnTestSuiteStart(s); }
    void OnTestStart(const testing::TestInfo& t) override { inner_->OnTestStart(t); }
    void OnTestDisabled(const testing::TestInfo& t) override { inner_->OnTestDisabled(t); }
    void OnTestEnd(const testing::TestInfo& t) override { inner_->OnTestEnd(t); }
    void OnTestSuiteEnd(const testing::TestSuite& s) override { inner_->OnTestSuiteEnd(s); }
    void OnEnvironmentsTearDownStart(const testing::UnitTest& u) override { inner_->OnEnvironmentsTearDownStart(u); }
    void OnEnvironmentsTearDownEnd(const testing::UnitTest& u) override { inner_->OnEnvironmentsTearDownEnd(u); }
    void OnTestIterationEnd(const testing::UnitTest& u, int i) override { inner_->OnTestIterationEnd(u, i); }
    void OnTestProgramEnd(const testing::UnitTest& u) override { inner_->OnTestProgramEnd(u); }

    // The same text as GoogleTest's printer, on standard output only.
    void OnTestPartResult(const testing::TestPartResult& r) override
    {
        if (r.type() == testing::TestPartResult::kSuccess)
            return;
        const char* kind = r.type() == testing::TestPartResult::kSkip ? "Skipped" : "Failure";
        std::printf("%s:%d: %s\n%s\n", r.file_name() ? r.file_name() : "unknown file", r.line_number(), kind,
                    r.message());
        std::fflush(stdout);
    }

private:
    std::unique_ptr<testing::TestEventListener> inner_;
};

} // namespace

void UseResultPrinterWithoutDebugOutput()
{
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new ResultPrinter(listeners.Release(listeners.default_result_printer())));
}

} // namespace zeltest
