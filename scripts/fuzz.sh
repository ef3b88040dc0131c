#!/bin/sh
# Runs qzfuzz until ACTIONS actions are done or SECONDS seconds have passed
# (0: no limit), starting at seed SEED, writing reproducers to OUT. A run the
# sanitizer stops (a memory error) becomes a reproducer too, and the run
# goes on from the next seed.
#   scripts/fuzz.sh QZFUZZ ACTIONS SECONDS SEED OUT
bin=$1 actions=$2 limit=$3 seed=$4 out=$5
start=$(date +%s)
done_actions=0
mkdir -p "$out"
while [ "$done_actions" -lt "$actions" ]; do
  timing=""
  if [ "$limit" -gt 0 ]; then
    left=$((limit - ($(date +%s) - start)))
    [ "$left" -le 0 ] && break
    timing="--seconds $left"
  fi
  "$bin" --seed "$seed" --actions $((actions - done_actions)) $timing --out "$out" > "$out/last-run.txt" 2>&1
  cat "$out/last-run.txt" | grep -v '^\(  \|before:\|after:\)' | tail -n 20
  if [ ! -f "$out/running" ]; then
    ran=$(sed -n 's/^\([0-9]*\) actions over.*/\1/p' "$out/last-run.txt" | tail -n 1)
    done_actions=$((done_actions + ${ran:-0}))
    break
  fi
  # Stopped in the middle of a seed: that seed is the reproducer.
  read -r crashed count before < "$out/running"
  rm -f "$out/running"
  cp "$out/last-run.txt" "$out/seed-$crashed.log"
  printf '#!/bin/sh\n# stopped by the sanitizer, see seed-%s.log\nexec "%s" --seed %s --actions %s --per-seed %s --trace "$@"\n' \
    "$crashed" "$bin" "$crashed" "$count" "$count" > "$out/seed-$crashed.sh"
  chmod +x "$out/seed-$crashed.sh"
  echo "seed $crashed stopped by the sanitizer; reproducer: $out/seed-$crashed.sh"
  done_actions=$((done_actions + before + count))
  seed=$((crashed + 1))
done
failures=$(ls "$out"/seed-*.sh 2>/dev/null | wc -l)
echo "fuzz: $done_actions actions from seed $4 in $(($(date +%s) - start)) s; $failures reproducers in $out"
[ "$failures" -eq 0 ]
