# Read by ctest after the tests are found. ctest starts tests in descending
# order of cost; on a fresh build it knows none, and the slowest tests, which
# come last in the list, would begin last and leave the other cores idle
# while they finish. Slowest first, as measured on two cores; the costs only
# order the start, and a name no longer found is passed over.
set(cost 1000)
foreach(test IN ITEMS
  Parts/CeilscoreSeededDecks.SameRecordAsThePlainSearch/0
  Parts/CeilscoreSeededDecks.SameRecordAsThePlainSearch/1
  Parts/CeilscoreSeededDecks.SameRecordAsThePlainSearch/2
  Parts/CeilscoreSeededDecks.SameRecordAsThePlainSearch/3
  LoadRun.GameDriverAccountsForEveryGameAndLeaksNothing
  LoadRun.MatchAccountsForEveryGameAndLeavesNoProcess
  Instructions.WholeRunsStayWithinTheirTargets
  Shards.AMatchKilledPartWayIsResumedIntoTheWholeMatch
  Shards.FourShardsThroughGnuParallelMergeIntoTheWholeMatch
  ZarvelEvaluation.AgreesWithTheCategoryRuleOnEveryHandInEveryOrder
  Signature.TotalScoresOverTwoHundredFixedDeals
  Decide.AMatchStopsWhenDecidedAndIsResumedToTheSameDecision
  Match.PlayerThatFaultsOnSomeDeals
  Match.ResultsPageOfAFixedMatch
  Report.ShowsTheStandingsTheDealsAndAChosenDealsBoards
  Installed.TheDebianPackageHoldsExactlyTheInstalledFiles
  Decide.TheErrorRateHoldsUnderContinuousWatchingWhereATIntervalsDoesNot
)
  set_tests_properties("${test}" PROPERTIES COST ${cost})
  math(EXPR cost "${cost} - 1")
endforeach()
