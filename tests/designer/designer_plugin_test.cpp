// The Designer plugin as Qt Designer loads it: found by QPluginLoader, it
// offers the control under "Morvanel" with its header, and the widget it
// creates shows the control's screen with no database, or says why not.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QLabel>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <filesystem>
#include <fstream>
#include <memory>

#include "forms/form.h"
#include "morvanel/hosting/entry_points.h"
#include "morvanel/hosting/qt/ctr_urssaf_widget.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

namespace fs = std::filesystem;
using morvanel::hosting::qt::CtrUrssafWidget;

class DesignerPluginTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) app_ = new QApplication(argc_, argv_);
  }
  // A machine registry naming the library built beside the test, and no
  // user registry: what a workstation with the packages installed has.
  DesignerPluginTest() {
    std::string modele = (fs::temp_directory_path() / "morvanel-designer-XXXXXX").string();
    dossier_ = ::mkdtemp(modele.data());
    std::ofstream(dossier_ + "/registry")
        << morvanel::kProgIdCtrUrssaf << '\t' << morvanel::kClsidCtrUrssaf << '\t'
        << MORVANEL_LIBRARY_PATH << '\n';
    ::setenv("MORVANEL_REGISTRY", (dossier_ + "/user-registry").c_str(), 1);
    ::setenv("MORVANEL_SYSTEM_REGISTRY", (dossier_ + "/registry").c_str(), 1);
  }
  ~DesignerPluginTest() override {
    loader_.unload();
    ::unsetenv("MORVANEL_REGISTRY");
    ::unsetenv("MORVANEL_SYSTEM_REGISTRY");
    std::error_code ec;
    fs::remove_all(dossier_, ec);
  }
  QDesignerCustomWidgetInterface* Plugin() {
    loader_.setFileName(QStringLiteral(MORVANEL_DESIGNER_PLUGIN));
    return qobject_cast<QDesignerCustomWidgetInterface*>(loader_.instance());
  }

  static inline int argc_ = 1;
  static inline char nom_[] = "designer_tests";
  static inline char* argv_[] = {nom_, nullptr};
  static inline QApplication* app_ = nullptr;
  std::string dossier_;
  QPluginLoader loader_;
};

TEST_F(DesignerPluginTest, OffersTheControlUnderMorvanelWithItsHeader) {
  QDesignerCustomWidgetInterface* plugin = Plugin();
  ASSERT_NE(plugin, nullptr) << loader_.errorString().toStdString();
  EXPECT_EQ(plugin->name(), "morvanel::hosting::qt::CtrUrssafWidget");
  EXPECT_EQ(plugin->group(), "Morvanel");
  EXPECT_EQ(plugin->includeFile(), "morvanel/hosting/qt/ctr_urssaf_widget.h");
  EXPECT_FALSE(plugin->icon().isNull());
  EXPECT_FALSE(plugin->toolTip().isEmpty());
  EXPECT_FALSE(plugin->isContainer());
  EXPECT_TRUE(plugin->domXml().contains("class=\"" + plugin->name() + "\""));
  // A form sets the widget's geometry and nothing of the control.
  EXPECT_FALSE(plugin->domXml().contains("database", Qt::CaseInsensitive));

  std::unique_ptr<QWidget> widget(plugin->createWidget(nullptr));
  auto* ctr = qobject_cast<CtrUrssafWidget*>(widget.get());
  ASSERT_NE(ctr, nullptr);
  EXPECT_EQ(ctr->metaObject()->propertyCount(), ctr->metaObject()->propertyOffset())
      << "no property of its own for the property editor";
  ASSERT_NE(ctr->control(), nullptr) << ctr->error();
  EXPECT_EQ(ctr->control()->Controls().Count(), 43) << "the screen, before any database";
  EXPECT_TRUE(ctr->findChildren<QLabel*>().size() > 1u) << "the screen's captions are drawn";
}

TEST_F(DesignerPluginTest, UnregisteredControlIsSaidInPlaceOfTheScreen) {
  ::setenv("MORVANEL_SYSTEM_REGISTRY", (dossier_ + "/absent").c_str(), 1);
  CtrUrssafWidget ctr;
  EXPECT_EQ(ctr.control(), nullptr);
  const auto labels = ctr.findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 1);
  EXPECT_TRUE(labels.front()->text().contains("Morvanel.Ctr_Urssaf")) << ctr.error();
}

}  // namespace
