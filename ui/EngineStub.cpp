#include "MainWindow.h"
namespace wt::ui {
void TForm1::CreateManager() {}
void TForm1::ReleaseManager() {}
}
