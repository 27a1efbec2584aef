# Sourced by the build scripts: ccache, when installed, with paths taken relative to the checkout, so
# that another clone of the same sources reuses what this machine compiled before. Sets
# compiler_launcher, the arguments to add to a cmake configure.
compiler_launcher=()
if command -v ccache >/dev/null; then
  compiler_launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
