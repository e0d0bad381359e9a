# Sourced by the scripts that run Orvanta for Windows under Wine: a Japanese Wine, as Orvanta's users
# have it. Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932. The caller
# sets WINEPREFIX.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then SUDO=; else SUDO=sudo; fi
  $SUDO sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
export LC_ALL=ja_JP.UTF-8
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer prompts, and no menu entries of Wine's in this machine's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
