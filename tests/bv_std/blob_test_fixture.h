// The fixture of the blob vision tests: the off-screen backend, records
// 1..3 with a picture field, an editor over Pic through an image vision, and
// the problems the application's error handler received.
#pragma once

#include <gtest/gtest.h>

#include "bv/field_list.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_graphic.h"
#include "controls/application.h"
#include "controls/controls_test_util.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/field.h"
#include "std_vision_test_util.h"

namespace stdtest {

class BlobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    brevant::test::Offscreen();
    ClearScriptedAnswers();
    ModalLog().clear();
    SetClipboardText("");  // also drops a bitmap an earlier test left
    Application()->OnException = TExceptionEvent::Of<&BlobTest::Handled>(this);
    consumer->Fields().SetVision(image.get());
  }
  void TearDown() override {
    Application()->OnException = {};
    EXPECT_EQ(ScriptedAnswerCount(), 0) << "an answer was not used";
    ClearScriptedAnswers();
  }
  void Handled(TObject*, const Exception& e) { problems.push_back(e.Message()); }
  // Binds the editor to field of record and loads its current value.
  void Bind(const String& field = "Pic", Integer record = 1) {
    data.ds->SetRecNo(record);
    consumer->Attach(data.source.get(), field);
    editor.Load();
    consumer->log.clear();
  }
  // The picture a value holds (empty for null).
  std::unique_ptr<TBitmap> PictureOf(const TznUniValue& value) {
    auto b = std::make_unique<TBitmap>();
    LoadGraphic(value, *b);
    return b;
  }
  std::unique_ptr<TBitmap> FieldPicture(const String& field = "Pic") {
    TznUniValue v(false, false);
    v.SetDataType(ftBlob);
    v.Assign(data.Field(field));
    return PictureOf(v);
  }

  TStdData data;
  TObjectPtr<TImageVision> image{Create<TImageVision>(nullptr)};
  TObjectPtr<TStubConsumer> consumer{Create<TStubConsumer>(nullptr)};
  TPaintEditor editor{*consumer};
  std::vector<String> problems;
};

}  // namespace stdtest
