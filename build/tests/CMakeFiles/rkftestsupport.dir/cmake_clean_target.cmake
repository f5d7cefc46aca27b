file(REMOVE_RECURSE
  "librkftestsupport.a"
)
