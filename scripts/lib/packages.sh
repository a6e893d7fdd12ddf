# install_packages KIND: apt-get installs the Debian packages listed in
# scripts/packages/*.txt for KIND ("main" or "test") that are not installed
# yet. A list line is "KIND package" or "both package"; # starts a comment.
install_packages() {
  local kind="$1" wanted=() missing=()
  local file kind_of name
  for file in scripts/packages/*.txt; do
    while read -r kind_of name; do
      [[ -z "${kind_of}" || "${kind_of}" == \#* ]] && continue
      if [[ "${kind_of}" == "${kind}" || "${kind_of}" == both ]]; then
        wanted+=("${name}")
      fi
    done < "${file}"
  done
  for name in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "${name}" 2>/dev/null | grep -q "ok installed" \
      || missing+=("${name}")
  done
  if (( ${#missing[@]} )); then
    local sudo=""
    [[ "$(id -u)" == 0 ]] || sudo="sudo"
    ${sudo} apt-get update -qq
    DEBIAN_FRONTEND=noninteractive ${sudo} apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}
