// The handle meter: GetGuiResources is a stub under Wine, so leaks are measured by how many GDI
// objects (brushes) and USER objects (popup menus) this process can still create. Code under
// test that leaks n objects lowers the count by n. Works on Windows too, with its own limits.
#ifndef PEERIX_TEST_HANDLE_METER_H
#define PEERIX_TEST_HANDLE_METER_H

namespace meter {

int FreeGdiObjects();
int FreeUserObjects();

}  // namespace meter

#endif
