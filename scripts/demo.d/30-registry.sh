# Sourced by scripts/demo: the registry entries the installation wrote, as
# exported by Wine's reg.exe (the 64-bit view, as the setup program sees it).
echo
echo "== registry entries"
_reg_dir=$(mktemp -d -p "$c")
_reg_export() {  # key file
  wine reg export "$1" "$(winepath -w "$_reg_dir/$2")" /y >/dev/null 2>&1 || true
}
_reg_export 'HKLM\SOFTWARE\Classes' classes.reg
_reg_export 'HKLM\SOFTWARE\Photarium' software.reg
_reg_export 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Photarium64' uninstall.reg
_reg_export 'HKLM\SOFTWARE\RegisteredApplications' registered.reg
_reg_export 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts' fileexts.reg
_reg_export 'HKCU\Software\Classes' userclasses.reg
python3 "$ROOT/scripts/demo.d/registry_report.py" "$_reg_dir"
rm -rf "$_reg_dir"
unset -f _reg_export
