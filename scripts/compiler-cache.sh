# Sourced by the build scripts: ccache as CMake's compiler launcher when it is installed, so a
# rebuild of unchanged sources (CI runs one build after another) costs little.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
