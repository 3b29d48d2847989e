# Sourced by the scripts that build Korvane. A build folder keeps the source
# folder it was configured for; a working tree copied or moved together with
# its build folders would make CMake refuse to configure them again. Such a
# build folder is removed, so that it is configured afresh.
#
#   fresh_build_folder <source folder> <build folder>
fresh_build_folder() {
  local source="$1" build="$2"
  local cache="$build/CMakeCache.txt"
  [ -f "$cache" ] || return 0
  local home
  home="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")"
  if [ "$(realpath -m -- "$home")" != "$(realpath -m -- "$source")" ]; then
    echo "Korvane: $build was configured for $home; configuring it afresh." >&2
    rm -rf -- "$build"
  fi
}
