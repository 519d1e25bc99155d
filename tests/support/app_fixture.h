#pragma once
// A fresh application object for each test, installed as gAppl for the test's duration.
#include <gtest/gtest.h>

#include "app/application.h"

namespace parlavent::testing {

class AppTest : public ::testing::Test {
 protected:
  AppTest() { SetAppl(&app); }
  ~AppTest() override { SetAppl(nullptr); }
  Appl app;
};

}  // namespace parlavent::testing
