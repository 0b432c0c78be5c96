# Shared set-up for ./run, ./test and ./fuzz: installs the Debian packages
# the project needs, once, and only what is missing.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  # Run rather than sourced: it only defines things for the scripts above.
  echo "usage: . tools/setup.sh (sourced by ./run, ./test, ./fuzz; defines lumora_ensure_packages)"
  [ "${1:-}" = --help ] && exit 0
  exit 2
fi
# The picture formats' own libraries decode them; Qt's image format plugins
# are only the tests' way of writing TIFF and WebP files.
lumora_packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins libgl-dev
  libpng-dev libjpeg62-turbo-dev libgif-dev libwebp-dev libtiff-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  rapidjson-dev
  fonts-wine
  desktop-file-utils appstream
  help2man
)
# Checking the Debian package as a packager would (.ci/run): lintian,
# hardening-check (devscripts), and a virtual display for the window's class.
lumora_package_tools=(lintian devscripts xvfb xauth x11-utils)

lumora_ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
