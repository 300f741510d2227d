#pragma once
// A session on the shaft example, as the project tests that drive tools and
// commands without a window start from.
#include "project/project_file.h"
#include "project/project_model.h"
#include "project/project_session.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <string>

namespace zeran::test {

class ShaftSession : public ::testing::Test {
protected:
    void SetUp() override {
        ProjectReadOptions options;
        options.write_missing_tdx = false;
        std::string error;
        ASSERT_TRUE(ReadProjectFile(model, std::string(ZERAN_SOURCE_DIR) + "/examples/shaft.tcf",
                                    options, &error))
            << error;
        session.start_fresh();
    }
    ScriptedPrompt prompt;
    ProjectModel model{prompt};
    ProjectSession session{model};
};

} // namespace zeran::test
