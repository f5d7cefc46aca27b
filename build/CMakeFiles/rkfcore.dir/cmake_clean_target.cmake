file(REMOVE_RECURSE
  "librkfcore.a"
)
