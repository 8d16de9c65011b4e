#!/usr/bin/env bash
# Fails when a C++ file includes a layer it may not, or a header of the
# project by a bare name; prints file:line for each. Project headers are
# included by their path from the repository root ("analysis/text/Cp932.h").
#
#   analysis        analysis/ data/
#   data            data/
#   platform/files  analysis/ platform/files/
#   platform/drawing analysis/ platform/
#   printing        analysis/ platform/ printing/
#   ui              analysis/ platform/ printing/ ui/
#   cli             analysis/ platform/files/ cli/
#                   (cli/pdf/SotenPdfMain.cpp, the Qt helper soten-pdf,
#                   also printing/ and platform/drawing/)
#   tests bench fuzz tools anything
#
# Headers that CMake configures from cmake/*.h.in belong to no layer and are
# included by their bare name from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."

layers="analysis|data|platform|printing|ui|cli|tests|bench|fuzz"

# Sets `rules` to the include prefixes a file may use; "*" for any.
set_rules() {
  case "$1" in
    cli/pdf/SotenPdfMain.cpp) rules="analysis/ platform/ printing/ cli/" ;;
    analysis/*) rules="analysis/ data/" ;;
    data/*) rules="data/" ;;
    platform/files/*) rules="analysis/ platform/files/" ;;
    platform/drawing/*) rules="analysis/ platform/" ;;
    printing/*) rules="analysis/ platform/ printing/" ;;
    ui/*) rules="analysis/ platform/ printing/ ui/" ;;
    cli/*) rules="analysis/ platform/files/ cli/" ;;
    tests/* | bench/* | fuzz/* | tools/*) rules="*" ;;
    *) rules="" ;;
  esac
}

# Every header of the tree, by its bare name, and the configured ones.
declare -A project_header=() generated=()
while IFS= read -r header; do
  project_header["${header##*/}"]=1
done < <(git ls-files '*.h' '*.hpp')
for template in cmake/*.h.in; do
  [ -e "$template" ] || continue
  name="${template##*/}"
  generated["${name%.in}"]=1
done

failures=0
fail() {
  echo "$1: $2" >&2
  failures=$((failures + 1))
}

include_pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^">]+)[">]'
while IFS= read -r match; do
  # file:line:text
  file="${match%%:*}" rest="${match#*:}"
  number="${rest%%:*}" line="${rest#*:}"
  [[ "$line" =~ $include_pattern ]] || continue
  quote="${BASH_REMATCH[1]}" path="${BASH_REMATCH[2]}"
  if [[ "$path" != */* ]]; then
    if [ -n "${project_header[$path]:-}" ] && [ -z "${generated[$path]:-}" ]; then
      fail "$file:$number" "includes \"$path\" by its bare name; give its path from the repository root"
    fi
    continue
  fi
  # Only the project's own folders are checked, not <QtCore/QString>.
  [[ "$path" =~ ^($layers)/ ]] || continue
  if [ "$quote" = '<' ]; then
    fail "$file:$number" "includes <$path>; a header of the tree is included with quotes"
    continue
  fi
  set_rules "$file"
  [ "$rules" = "*" ] && continue
  permitted=0
  for prefix in $rules; do
    if [[ "$path" == "$prefix"* ]]; then
      permitted=1
      break
    fi
  done
  if [ "$permitted" = 0 ]; then
    fail "$file:$number" "may not include \"$path\": it may include only ${rules:-nothing of the tree}"
  fi
done < <(git grep -n -E '^[[:space:]]*#[[:space:]]*include' -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.mm' '*.inc')

if [ "$failures" -gt 0 ]; then
  echo "check-includes.sh: $failures include(s) break the layering" >&2
  exit 1
fi
echo "check-includes.sh: every include keeps to its layer"
