// The main of a link probe (lintaro_layer in CMakeLists.txt): it only has to link, never runs.
int main() {
  return 0;
}
