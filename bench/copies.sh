# Sourced by the start-up and memory benchmarks: lays out, in the folder
# $work, Fetchlets ($exe) on the sample catalog (sample/) and beside a Data
# folder for the generated catalogs (large/Data), and writes the copies out,
# so that freshly written pages of the program file do not count as the
# process's own dirty memory.
fl_bench_copies() {
  mkdir -p "$work/sample" "$work/large/Data"
  cp "$exe" "$work/sample/Fetchlets.exe"
  cp -r "$root/data/Data" "$work/sample/"
  cp "$exe" "$work/large/Fetchlets.exe"
  cp "$root/data/Data/"*.d?? "$work/large/Data/"
  sync
}
